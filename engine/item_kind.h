// How an item is held in the vault, and what a path is.
#pragma once

namespace hbx {

/// How an item is held in the vault. Stored as its decimal digit in the pending list.
enum LOCK_TYPE : int {
    LOCK_TYPE_LOCK = 0,   // a stub stands at the item's source path
    LOCK_TYPE_HIDE = 1,   // nothing stands there
};

/// What stands at a path.
enum ItemKind : int {
    ITEM_MISSING = 0,       // nothing can be read at the path
    ITEM_FILE = 1,          // an ordinary file
    ITEM_FOLDER = 2,        // a folder, whatever its name
    ITEM_FILE_STUB = 3,     // a file whose extension is ".hbxfile"
    ITEM_FOLDER_STUB = 4,   // a file whose extension is ".hbxfolder"
};

}  // namespace hbx
