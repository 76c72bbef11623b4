#include "item_listing.h"

#include "files.h"
#include "lock_list.h"
#include "lock_service.h"
#include "paths.h"
#include "source_record.h"
#include "stub.h"
#include "text.h"
#include "vault.h"

namespace hbx {

void list_volume(const std::u16string& volume, std::vector<LockedItem>& items) {
    const std::u16string data = data_folder(volume);
    const std::vector<FolderEntry> folders = list_folder(data);
    if (folders.empty()) return;
    LockList list = LockList::create(lock_list_file(volume));
    list.load();
    SourceRecord record = SourceRecord::create(source_record_file(volume));
    record.load();
    for (const FolderEntry& folder : folders) {
        const std::u16string item_folder = combine(data, folder.name);
        for (const FolderEntry& entry : list_folder(item_folder)) {
            LockedItem item;
            item.vault_path = combine(item_folder, entry.name);
            // A recorded directory part counts only when it really names this item folder.
            std::u16string directory = record.lookup(folder.name, entry.name);
            if (directory.empty() || !same_hash(hash_text(directory), folder.name)) {
                directory = list.lookup(folder.name);
            }
            const std::u16string base =
                directory.empty() ? combine(volume, folder.name) : combine(volume, directory);
            item.path = combine(base, entry.name);
            item.is_folder = entry.is_folder;
            item.hidden = !platform::exists(stub_info_for_item(item.path, item.is_folder).stub);
            items.push_back(std::move(item));
        }
    }
}

void LockService::list_items(std::vector<LockedItem>& items) {
    items.clear();
    for (const auto& volume : item_volumes()) list_volume(volume, items);
}

}  // namespace hbx
