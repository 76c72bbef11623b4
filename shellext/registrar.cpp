#include "registrar.h"

#include "wide.h"

#include <shlwapi.h>

namespace hbx::shellext {

namespace {

class Key {
public:
    ~Key() {
        if (key_ != nullptr) RegCloseKey(key_);
    }
    HKEY* out() { return &key_; }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

LONG create_key(HKEY root, const std::u16string& path, Key& key) {
    return RegCreateKeyExW(root, wide(path), 0, nullptr, REG_OPTION_NON_VOLATILE,
                           KEY_READ | KEY_WRITE, nullptr, key.out(), nullptr);
}

LONG run(const RegistryOperation& operation) {
    const HKEY root = root_key(operation.root);
    switch (operation.kind) {
        case RegistryOperation::delete_tree: {
            const LONG e = static_cast<LONG>(SHDeleteKeyW(root, wide(operation.path)));
            return e == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : e;
        }
        case RegistryOperation::create_key: {
            Key key;
            return create_key(root, operation.path, key);
        }
        case RegistryOperation::set_value: {
            Key key;
            const LONG e = create_key(root, operation.path, key);
            if (e != ERROR_SUCCESS) return e;
            const DWORD bytes =
                static_cast<DWORD>((operation.data.size() + 1) * sizeof(char16_t));
            return RegSetValueExW(key.get(), wide(operation.name), 0, REG_SZ,
                                  reinterpret_cast<const BYTE*>(operation.data.c_str()), bytes);
        }
        case RegistryOperation::delete_key: {
            // Only a key without subkeys goes; one that still has some stays, as its parent
            // decides about them.
            Key key;
            LONG e = RegOpenKeyExW(root, wide(operation.path), 0, KEY_READ, key.out());
            if (e == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
            if (e != ERROR_SUCCESS) return e;
            DWORD subkeys = 0;
            e = RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                                 nullptr, nullptr, nullptr, nullptr, nullptr);
            if (e != ERROR_SUCCESS) return e;
            if (subkeys > 0) return ERROR_SUCCESS;
            e = RegDeleteKeyW(root, wide(operation.path));
            return e == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : e;
        }
    }
    return ERROR_INVALID_PARAMETER;
}

}  // namespace

HKEY root_key(RootKey root) {
    switch (root) {
        case RootKey::classes_root: return HKEY_CLASSES_ROOT;
        case RootKey::current_user: return HKEY_CURRENT_USER;
        case RootKey::local_machine: return HKEY_LOCAL_MACHINE;
    }
    return HKEY_CLASSES_ROOT;
}

HRESULT apply(const std::vector<RegistryOperation>& operations) {
    for (const RegistryOperation& operation : operations) {
        const LONG e = run(operation);
        if (e != ERROR_SUCCESS) return HRESULT_FROM_WIN32(static_cast<DWORD>(e));
    }
    return S_OK;
}

}  // namespace hbx::shellext
