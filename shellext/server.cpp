// The module's entry points: the module entry, the class objects, the unload check,
// registration, unregistration and per-user installation.
#include "class_factory.h"
#include "explorer_restarter.h"
#include "identifiers.h"
#include "module.h"
#include "open_command.h"
#include "query_info.h"
#include "registrar.h"
#include "registry_layout.h"
#include "shell_icon.h"
#include "shell_menu.h"
#include "shell_overlay.h"
#include "wide.h"

#include "hushbox_env.h"

#include <oleauto.h>

// The merged proxy/stub's entry points (proxy_stub.c).
extern "C" {
BOOL WINAPI PrxDllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);
HRESULT WINAPI PrxDllGetClassObject(REFCLSID clsid, REFIID iid, void** out);
HRESULT WINAPI PrxDllCanUnloadNow();
HRESULT WINAPI PrxDllRegisterServer();
HRESULT WINAPI PrxDllUnregisterServer();
}

namespace hbx::shellext {
namespace {

// The class table, in the order that registration, unregistration and the class-object
// lookup walk it.
struct ClassEntry {
    const CLSID* id;
    Script script;
    HRESULT (*factory)(REFIID, void**);
};

const ClassEntry class_table[] = {
    {&CLSID_MyShellIcon, Script::shell_icon, &ClassFactory<MyShellIcon>::get},
    {&CLSID_MyQueryInfo, Script::query_info, &ClassFactory<MyQueryInfo>::get},
    {&CLSID_ShellOverlay, Script::overlay, &ClassFactory<ShellOverlay>::get},
    {&CLSID_HushboxShellMenu, Script::shell_menu, &ClassFactory<HushboxShellMenu>::get},
};

// Registration runs in the system's default locale; the thread's own is put back after.
class SystemLocaleScope {
public:
    SystemLocaleScope() : saved_(GetThreadLocale()) { SetThreadLocale(LOCALE_SYSTEM_DEFAULT); }
    ~SystemLocaleScope() { SetThreadLocale(saved_); }
    SystemLocaleScope(const SystemLocaleScope&) = delete;
    SystemLocaleScope& operator=(const SystemLocaleScope&) = delete;

private:
    LCID saved_;
};

HRESULT run_script(Script script, bool registering) {
    const bool per_user = per_user_registration();
    return apply(registering ? registration_operations(script, module_path(), per_user)
                             : unregistration_operations(script, per_user));
}

template <class F>
F oleaut_function(const char* name) {
    return reinterpret_cast<F>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"oleaut32.dll"), name)));
}

// The embedded type library (TYPELIB 1 of the module file).
HRESULT load_type_library(ITypeLib** library) {
    return LoadTypeLibEx(wide(module_path()), REGKIND_NONE, library);
}

HRESULT register_type_library() {
    ITypeLib* library = nullptr;
    HRESULT result = load_type_library(&library);
    if (FAILED(result)) return result;
    std::u16string path = module_path();
    using RegisterForUser = HRESULT(WINAPI*)(ITypeLib*, OLECHAR*, OLECHAR*);
    const auto for_user = oleaut_function<RegisterForUser>("RegisterTypeLibForUser");
    auto* file = reinterpret_cast<OLECHAR*>(path.data());
    if (per_user_registration() && for_user != nullptr) {
        result = for_user(library, file, nullptr);
    } else {
        result = RegisterTypeLib(library, file, nullptr);
    }
    library->Release();
    return result;
}

HRESULT unregister_type_library() {
    ITypeLib* library = nullptr;
    HRESULT result = load_type_library(&library);
    if (FAILED(result)) return result;
    TLIBATTR* attributes = nullptr;
    result = library->GetLibAttr(&attributes);
    if (SUCCEEDED(result)) {
        using UnregisterForUser = HRESULT(WINAPI*)(REFGUID, WORD, WORD, LCID, SYSKIND);
        const auto for_user = oleaut_function<UnregisterForUser>("UnRegisterTypeLibForUser");
        if (per_user_registration() && for_user != nullptr) {
            result = for_user(attributes->guid, attributes->wMajorVerNum,
                              attributes->wMinorVerNum, attributes->lcid, attributes->syskind);
        } else {
            result = UnRegisterTypeLib(attributes->guid, attributes->wMajorVerNum,
                                       attributes->wMinorVerNum, attributes->lcid,
                                       attributes->syskind);
        }
        library->ReleaseTLibAttr(attributes);
    }
    library->Release();
    return result;
}

// Scripts and type library; the first failure ends registration.
HRESULT register_classes() {
    const SystemLocaleScope locale;
    HRESULT result = run_script(Script::module, true);
    if (FAILED(result)) return result;
    for (const ClassEntry& entry : class_table) {
        result = run_script(entry.script, true);
        if (FAILED(result)) return result;
        // No component categories are declared.
    }
    return register_type_library();
}

HRESULT unregister_classes() {
    const SystemLocaleScope locale;
    for (const ClassEntry& entry : class_table) {
        const HRESULT result = run_script(entry.script, false);
        if (FAILED(result)) return result;
    }
    HRESULT result = unregister_type_library();
    if (FAILED(result)) return result;
    return run_script(Script::module, false);
}

void restart_explorer() {
    ExplorerRestarter restarter;
    restarter.restart();
}

}  // namespace
}  // namespace hbx::shellext

using namespace hbx::shellext;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    PrxDllMain(instance, reason, reserved);
    if (reason == DLL_PROCESS_ATTACH) set_module_instance(instance);
    CHushboxEnv::Instance();
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    if (PrxDllGetClassObject(clsid, iid, out) == S_OK) return S_OK;
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    for (const ClassEntry& entry : class_table) {
        if (IsEqualCLSID(clsid, *entry.id)) return entry.factory(iid, out);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow() {
    const HRESULT proxy = PrxDllCanUnloadNow();
    if (proxy != S_OK) return proxy;
    return module_lock_count() == 0 ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer() {
    const HRESULT classes = register_classes();
    if (FAILED(classes)) return classes;
    const HRESULT result = PrxDllRegisterServer();
    rewrite_open_command(u".hbxfile");
    rewrite_open_command(u".hbxfolder");
    restart_explorer();
    return result;
}

STDAPI DllUnregisterServer() {
    HRESULT result = unregister_classes();
    if (FAILED(result)) return result;
    result = PrxDllRegisterServer();
    if (FAILED(result)) return result;
    result = PrxDllUnregisterServer();
    restart_explorer();
    return result;
}

STDAPI DllInstall(BOOL install, PCWSTR command_line) {
    // "user" with case ignored over the whole text: "user2" does not match.
    if (command_line != nullptr && lstrcmpiW(command_line, L"user") == 0) {
        set_per_user_registration();
    }
    if (install) {
        const HRESULT result = DllRegisterServer();
        if (FAILED(result)) DllUnregisterServer();
        return result;
    }
    return DllUnregisterServer();
}
