// Plays Explorer against the registered extension (the fixture ran "regsvr32 /s" in the staging
// folder, where the recording stand-in of the program is hushbox.exe): creates each class
// through COM, hands the context menu a hand-written data object and a real popup menu, starts
// the program through it, asks the overlay, the icon handler and the info tip, and watches the
// module's unload answer.
#include "explorer_play.h"
#include "shellext_support.h"

#include "files.h"
#include "hushbox_env.h"
#include "lock_service.h"
#include "paths.h"
#include "test_volumes.h"
#include "text.h"
#include "vault.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <tlhelp32.h>

#include <atomic>
#include <thread>
#include <vector>

using namespace hbx;
using namespace hbx::test;


class Explorer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    }
    void TearDown() override { CoUninitialize(); }

    template <class I>
    HRESULT create(const CLSID& clsid, const IID& iid, Ptr<I>& object) {
        return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, object.out());
    }

    TestVolumes volumes;
    const std::u16string d = TestVolumes::at(u'D');
};

// ---- The COM server ---------------------------------------------------------------------------

TEST_F(Explorer, EachClassAnswersItsInterfaceMapAndNothingElse) {
    const struct {
        const char* name;
        const CLSID* clsid;
        std::vector<IID> answered;   // in map order; the first is the object's identity
        std::vector<IID> refused;
    } classes[] = {
        {"HushboxShellMenu", &ids::shell_menu,
         {ids::i_shell_menu, __uuidof(IShellExtInit), __uuidof(IContextMenu)},
         {__uuidof(IPersistFile), ids::overlay_itf, __uuidof(IContextMenu2), ids::i_shell_overlay}},
        {"ShellOverlay", &ids::overlay,
         {ids::i_shell_overlay, ids::overlay_itf},
         {__uuidof(IContextMenu), __uuidof(IPersistFile), ids::i_shell_menu}},
        {"MyShellIcon", &ids::shell_icon,
         {ids::i_my_shell_icon, __uuidof(IPersistFile), ids::extract_icon_w},
         {ids::query_info_itf, __uuidof(IPersist), ids::i_my_query_info}},
        {"MyQueryInfo", &ids::query_info,
         {ids::i_my_query_info, __uuidof(IPersistFile), ids::query_info_itf},
         {ids::extract_icon_w, __uuidof(IShellExtInit), ids::i_my_shell_icon}},
    };
    for (const auto& c : classes) {
        SCOPED_TRACE(c.name);
        Ptr<IUnknown> object;
        ASSERT_EQ(create(*c.clsid, IID_IUnknown, object), S_OK);
        for (const IID& iid : c.answered) {
            SCOPED_TRACE(to_utf8(guid_text(iid)));
            Ptr<IUnknown> itf;
            EXPECT_EQ(object->QueryInterface(iid, itf.out()), S_OK);
            EXPECT_NE(itf.get(), nullptr);
        }
        for (const IID& iid : c.refused) {
            SCOPED_TRACE(to_utf8(guid_text(iid)));
            Ptr<IUnknown> itf;
            EXPECT_EQ(object->QueryInterface(iid, itf.out()), E_NOINTERFACE);
            EXPECT_EQ(itf.get(), nullptr);
        }
        // IUnknown is the first interface of the map.
        Ptr<IUnknown> first;
        ASSERT_EQ(object->QueryInterface(c.answered.front(), first.out()), S_OK);
        EXPECT_EQ(static_cast<void*>(first.get()), static_cast<void*>(object.get()));
    }
    // A class the module does not serve.
    Ptr<IClassFactory> none;
    EXPECT_EQ(CoGetClassObject(ids::type_library, CLSCTX_INPROC_SERVER, nullptr,
                               IID_IClassFactory, none.out()),
              REGDB_E_CLASSNOTREG);
}

namespace {

// An object that aggregates one of the extension's objects: it answers IUnknown itself and
// hands every other request to the inner object.
class Outer : public IUnknown {
public:
    virtual ~Outer() = default;
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown)) {
            *out = static_cast<IUnknown*>(this);
            AddRef();
            return S_OK;
        }
        return inner != nullptr ? inner->QueryInterface(iid, out) : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references; }
    STDMETHODIMP_(ULONG) Release() override { return --references; }

    ULONG references = 1;
    IUnknown* inner = nullptr;
};

}  // namespace

TEST_F(Explorer, ObjectsCanBeAggregatedOnlyThroughIUnknown) {
    for (const CLSID* clsid : {&ids::shell_menu, &ids::overlay, &ids::shell_icon, &ids::query_info}) {
        SCOPED_TRACE(to_utf8(guid_text(*clsid)));
        Outer outer;
        Ptr<IUnknown> refused;
        EXPECT_EQ(CoCreateInstance(*clsid, &outer, CLSCTX_INPROC_SERVER, ids::i_shell_menu,
                                   refused.out()),
                  CLASS_E_NOAGGREGATION);
        ASSERT_EQ(CoCreateInstance(*clsid, &outer, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                   reinterpret_cast<void**>(&outer.inner)),
                  S_OK);
        EXPECT_EQ(outer.references, 1u);   // the inner unknown does not count on the outer

        // Every interface of the inner object has the outer object's identity and count.
        IUnknown* itf = nullptr;
        const IID first = *clsid == ids::shell_menu   ? ids::i_shell_menu
                          : *clsid == ids::overlay    ? ids::i_shell_overlay
                          : *clsid == ids::shell_icon ? ids::i_my_shell_icon
                                                      : ids::i_my_query_info;
        ASSERT_EQ(outer.inner->QueryInterface(first, reinterpret_cast<void**>(&itf)), S_OK);
        EXPECT_EQ(outer.references, 2u);
        IUnknown* identity = nullptr;
        ASSERT_EQ(itf->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
        EXPECT_EQ(identity, static_cast<IUnknown*>(&outer));
        identity->Release();
        itf->Release();
        EXPECT_EQ(outer.references, 1u);
        EXPECT_EQ(can_unload_now(), S_FALSE);
        outer.inner->Release();
        EXPECT_EQ(can_unload_now(), S_OK);
    }
}

TEST_F(Explorer, ModuleStaysLoadedWhileAnObjectOrFactoryLivesOrIsLocked) {
    {
        Ptr<IUnknown> overlay;
        ASSERT_EQ(create(ids::overlay, IID_IUnknown, overlay), S_OK);
        EXPECT_EQ(can_unload_now(), S_FALSE);
    }
    EXPECT_EQ(can_unload_now(), S_OK);

    Ptr<IClassFactory> factory;
    ASSERT_EQ(CoGetClassObject(ids::shell_icon, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               factory.out()),
              S_OK);
    EXPECT_EQ(can_unload_now(), S_FALSE);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, nullptr), E_POINTER);
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    factory.reset();
    EXPECT_EQ(can_unload_now(), S_FALSE);   // locked without a factory
    ASSERT_EQ(CoGetClassObject(ids::shell_icon, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               factory.out()),
              S_OK);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    factory.reset();
    EXPECT_EQ(can_unload_now(), S_OK);
}

TEST_F(Explorer, ModuleEntryReachesTheEnvironmentOnEveryNotification) {
    Ptr<IUnknown> overlay;   // the extension is loaded and stays so
    ASSERT_EQ(create(ids::overlay, IID_IUnknown, overlay), S_OK);
    const long before = CHushboxEnv::Instance()->reached();
    std::thread([] {}).join();   // thread attach and detach
    const long after = CHushboxEnv::Instance()->reached();
    // Our own second call, and the extension's entry on attach and on detach.
    EXPECT_GE(after - before, 3);
}

TEST_F(Explorer, MarkerInterfacesAreMarshalledThroughTheProxyStub) {
    const struct {
        const char* name;
        const CLSID* clsid;
        const IID* iid;
    } cases[] = {
        {"IShellMenu", &ids::shell_menu, &ids::i_shell_menu},
        {"IShellOverlay", &ids::overlay, &ids::i_shell_overlay},
        {"IMyShellIcon", &ids::shell_icon, &ids::i_my_shell_icon},
        {"IMyQueryInfo", &ids::query_info, &ids::i_my_query_info},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Ptr<IUnknown> object;
        ASSERT_EQ(create(*c.clsid, *c.iid, object), S_OK);
        IStream* stream = nullptr;
        ASSERT_EQ(CoMarshalInterThreadInterfaceInStream(*c.iid, object.get(), &stream), S_OK);

        // Another apartment receives a proxy, and calls through it reach the object.
        HRESULT unmarshalled = E_FAIL;
        HRESULT called = E_FAIL;
        void* received = nullptr;
        const HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        std::thread other([&] {
            CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
            IUnknown* proxy = nullptr;
            unmarshalled = CoGetInterfaceAndReleaseStream(stream, *c.iid,
                                                          reinterpret_cast<void**>(&proxy));
            if (proxy != nullptr) {
                received = proxy;
                IUnknown* again = nullptr;
                called = proxy->QueryInterface(*c.iid, reinterpret_cast<void**>(&again));
                if (again != nullptr) again->Release();
                proxy->Release();
            }
            CoUninitialize();
            SetEvent(done);
        });
        DWORD index = 0;
        HANDLE handles[] = {done};
        CoWaitForMultipleHandles(0, INFINITE, 1, handles, &index);   // serves the calls meanwhile
        other.join();
        CloseHandle(done);
        EXPECT_EQ(unmarshalled, S_OK);
        EXPECT_EQ(called, S_OK);
        EXPECT_NE(received, static_cast<void*>(object.get()));
    }
}

// ---- Context menu -----------------------------------------------------------------------------

TEST_F(Explorer, InitializeAcceptsExactlyOneOrdinaryItem) {
    test::make_folders(d + u"docs");
    test::write_file(d + u"docs\\a.txt", "a");
    test::write_file(d + u"docs\\b.txt", "b");
    test::write_file(d + u"docs\\a.txt.hbxfile", "[ENCRYPTINFO]\r\nSRC=docs\\a.txt\r\n");
    wchar_t desktop[MAX_PATH] = {};
    ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, desktop, CSIDL_DESKTOP, FALSE));
    const std::u16string long_name(259 - (d.size() + 5), u'n');   // D:\docs\nnn...: 259
    const struct {
        const char* name;
        std::vector<std::u16string> paths;
        bool has_drop;
        HRESULT result;
    } cases[] = {
        {"one file", {d + u"docs\\a.txt"}, true, S_OK},
        {"a stub", {d + u"docs\\a.txt.hbxfile"}, true, S_OK},
        {"a folder", {d + u"docs"}, true, S_OK},
        {"two files", {d + u"docs\\a.txt", d + u"docs\\b.txt"}, true, E_INVALIDARG},
        {"a drive root", {d}, true, E_INVALIDARG},
        {"the desktop folder", {u(desktop)}, true, E_INVALIDARG},
        {"no file-drop data", {d + u"docs\\a.txt"}, false, DV_E_FORMATETC},
        {"nothing selected", {}, true, E_INVALIDARG},
        {"a path of 259 characters", {d + u"docs\\" + long_name}, true, S_OK},
        {"a path of 260 characters", {d + u"docs\\" + long_name + u"x"}, true, E_INVALIDARG},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Ptr<IShellExtInit> init;
        ASSERT_EQ(create(ids::shell_menu, __uuidof(IShellExtInit), init), S_OK);
        EXPECT_EQ(initialize(init.get(), c.paths, c.has_drop), c.result);

        // A refused selection gets no entries.
        Ptr<IContextMenu> menu;
        ASSERT_EQ(init->QueryInterface(__uuidof(IContextMenu), menu.out()), S_OK);
        const HMENU popup = CreatePopupMenu();
        const HRESULT added = menu->QueryContextMenu(popup, 0, 100, 200, CMF_NORMAL);
        EXPECT_EQ(HRESULT_CODE(added), c.result == S_OK ? 2 : 0);
        EXPECT_EQ(GetMenuItemCount(popup), c.result == S_OK ? 2 : 0);
        DestroyMenu(popup);
    }
}

TEST_F(Explorer, ASecondInitializeForgetsTheFirstSelection) {
    test::write_file(d + u"a.txt", "a");
    Ptr<IShellExtInit> init;
    ASSERT_EQ(create(ids::shell_menu, __uuidof(IShellExtInit), init), S_OK);
    ASSERT_EQ(initialize(init.get(), {d + u"a.txt"}), S_OK);
    ASSERT_EQ(initialize(init.get(), {d}), E_INVALIDARG);
    Ptr<IContextMenu> menu;
    ASSERT_EQ(init->QueryInterface(__uuidof(IContextMenu), menu.out()), S_OK);
    const HMENU popup = CreatePopupMenu();
    EXPECT_EQ(menu->QueryContextMenu(popup, 0, 1, 10, CMF_NORMAL), S_OK);
    EXPECT_EQ(GetMenuItemCount(popup), 0);
    DestroyMenu(popup);
}

TEST_F(Explorer, MenuFollowsTheProgramLanguage) {
    test::make_folders(d + u"Photos");
    test::make_folders(d + u"Old.hbxfolder");
    test::write_file(d + u"a.txt", "a");
    test::write_file(d + u"Budget 2024.xlsx.hbxfile", "[ENCRYPTINFO]\r\nSRC=Budget 2024.xlsx\r\n");
    const struct {
        const char16_t* item;
        const char16_t* lang;   // nullptr: no value stored
        const char* command;
        const char* open;
    } cases[] = {
        {u"Budget 2024.xlsx.hbxfile", u"de", "Entsperren „Budget 2024.xlsx“", "Öffnen Zenvor Hushbox"},
        {u"Photos", u"zh-TW", "加鎖 \"Photos\"", "打開 Zenvor Hushbox"},
        {u"a.txt", u"zh-CN", "加锁 \"a.txt\"", "打开 Zenvor Hushbox"},
        {u"a.txt", u"ja", "ロック 「a.txt」", "Zenvor Hushbox を開く"},
        {u"a.txt", u"DE", "Lock \"a.txt\"", "Open Zenvor Hushbox"},
        {u"a.txt", u"fr", "Lock \"a.txt\"", "Open Zenvor Hushbox"},
        {u"a.txt", nullptr, "Lock \"a.txt\"", "Open Zenvor Hushbox"},
        {u"Old.hbxfolder", u"", "Lock \"Old.hbxfolder\"", "Open Zenvor Hushbox"},   // a folder
        {u"Budget 2024.xlsx.hbxfile", u"en", "Unlock \"Budget 2024.xlsx\"", "Open Zenvor Hushbox"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.command));
        const RegistryValueScope lang(HKEY_CURRENT_USER, settings_key, u"lang", c.lang);
        Ptr<IShellExtInit> init;
        ASSERT_EQ(create(ids::shell_menu, __uuidof(IShellExtInit), init), S_OK);
        ASSERT_EQ(initialize(init.get(), {d + c.item}), S_OK);
        Ptr<IContextMenu> menu;
        ASSERT_EQ(init->QueryInterface(__uuidof(IContextMenu), menu.out()), S_OK);

        // Explorer's menu already has two entries; ours go in at position 1.
        const HMENU explorer = CreatePopupMenu();
        AppendMenuW(explorer, MF_STRING, 1, L"&Open");
        AppendMenuW(explorer, MF_STRING, 2, L"Propert&ies");
        const HRESULT added = menu->QueryContextMenu(explorer, 1, 500, 600, CMF_NORMAL);
        EXPECT_TRUE(SUCCEEDED(added));
        EXPECT_EQ(HRESULT_CODE(added), 2);
        ASSERT_EQ(GetMenuItemCount(explorer), 4);
        EXPECT_EQ(to_utf8(menu_item(explorer, 0).text), "&Open");
        EXPECT_TRUE(menu_item(explorer, 1).separator);
        const MenuItem title = menu_item(explorer, 2);
        EXPECT_EQ(to_utf8(title.text), "Zenvor Hushbox");
        EXPECT_EQ(to_utf8(menu_item(explorer, 3).text), "Propert&ies");
        ASSERT_NE(title.submenu, nullptr);

        ASSERT_EQ(GetMenuItemCount(title.submenu), 3);
        const MenuItem command = menu_item(title.submenu, 0);
        const MenuItem open = menu_item(title.submenu, 2);
        EXPECT_EQ(to_utf8(command.text), c.command);
        EXPECT_EQ(command.id, 500u);
        EXPECT_TRUE(menu_item(title.submenu, 1).separator);
        EXPECT_EQ(to_utf8(open.text), c.open);
        EXPECT_EQ(open.id, 501u);

        // Each entry has its picture; the submenu and Open share one.
        EXPECT_NE(command.bitmap, nullptr);
        EXPECT_NE(title.bitmap, nullptr);
        EXPECT_EQ(open.bitmap, title.bitmap);
        EXPECT_NE(command.bitmap, title.bitmap);
        DestroyMenu(explorer);
    }
}

TEST_F(Explorer, MenuPicturesAreSmallIconsWithAlphaAndTellLockFromUnlock) {
    test::write_file(d + u"a.txt", "a");
    test::write_file(d + u"a.txt.hbxfile", "[ENCRYPTINFO]\r\nSRC=a.txt\r\n");
    Pixels pictures[2];
    const std::u16string items[2] = {d + u"a.txt", d + u"a.txt.hbxfile"};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(to_utf8(items[i]));
        Ptr<IShellExtInit> init;
        ASSERT_EQ(create(ids::shell_menu, __uuidof(IShellExtInit), init), S_OK);
        ASSERT_EQ(initialize(init.get(), {items[i]}), S_OK);
        Ptr<IContextMenu> menu;
        ASSERT_EQ(init->QueryInterface(__uuidof(IContextMenu), menu.out()), S_OK);
        const HMENU explorer = CreatePopupMenu();
        ASSERT_EQ(HRESULT_CODE(menu->QueryContextMenu(explorer, 0, 1, 10, CMF_NORMAL)), 2);
        const MenuItem title = menu_item(explorer, 1);
        pictures[i] = bitmap_pixels(menu_item(title.submenu, 0).bitmap);
        EXPECT_EQ(pictures[i].width, GetSystemMetrics(SM_CXSMICON));
        EXPECT_EQ(pictures[i].height, GetSystemMetrics(SM_CYSMICON));
        EXPECT_EQ(pictures[i].bits, 32);
        EXPECT_TRUE(any_alpha(pictures[i]));
        DestroyMenu(explorer);
    }
    EXPECT_NE(pictures[0].data, pictures[1].data);   // padlock for Lock, key for Unlock
}

TEST_F(Explorer, DefaultOnlyMenusGetNothing) {
    test::write_file(d + u"a.txt", "a");
    Ptr<IShellExtInit> init;
    ASSERT_EQ(create(ids::shell_menu, __uuidof(IShellExtInit), init), S_OK);
    Ptr<IContextMenu> menu;
    ASSERT_EQ(init->QueryInterface(__uuidof(IContextMenu), menu.out()), S_OK);
    const HMENU explorer = CreatePopupMenu();
    EXPECT_EQ(menu->QueryContextMenu(explorer, 0, 1, 10, CMF_NORMAL), S_OK);   // not initialised
    ASSERT_EQ(initialize(init.get(), {d + u"a.txt"}), S_OK);
    EXPECT_EQ(menu->QueryContextMenu(explorer, 0, 1, 10, CMF_DEFAULTONLY), S_OK);
    EXPECT_EQ(GetMenuItemCount(explorer), 0);
    DestroyMenu(explorer);
}

namespace {

// Waits until the recording program (if it was started) has ended, then gives what it recorded,
// or "<not started>".
std::string recorded_start() {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        if (lstrcmpiW(entry.szExeFile, L"hushbox.exe") != 0) continue;
        const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, entry.th32ProcessID);
        if (process != nullptr) {
            WaitForSingleObject(process, INFINITE);
            CloseHandle(process);
        }
    }
    CloseHandle(snapshot);
    const std::string record = read_file(stage_folder() + u"recorded-start.txt");
    return record == "<missing>" ? "<not started>" : record;
}

}  // namespace

TEST_F(Explorer, CommandsStartTheProgramWithTheItemsPath) {
    test::write_file(d + u"Budget 2024.xlsx.hbxfile", "[ENCRYPTINFO]\r\nSRC=Budget 2024.xlsx\r\n");
    test::write_file(d + u"plain.txt", "x");
    const std::string drive = to_utf8(d);
    const struct {
        const char* name;
        std::u16string item;
        UINT_PTR verb;   // a command number, or a verb text
        HRESULT result;
        std::string record;
    } cases[] = {
        {"unlock a stub whose name has a space", d + u"Budget 2024.xlsx.hbxfile", 0, S_OK,
         "raw:\"" + drive + "Budget 2024.xlsx.hbxfile\"\narg:" + drive + "Budget 2024.xlsx.hbxfile\n"},
        {"lock a file", d + u"plain.txt", 0, S_OK,
         "raw:" + drive + "plain.txt\narg:" + drive + "plain.txt\n"},
        {"open the program", d + u"plain.txt", 1, S_OK, "raw:\n"},
        {"an unknown command", d + u"plain.txt", 2, E_FAIL, "<not started>"},
        {"a verb text", d + u"plain.txt", reinterpret_cast<UINT_PTR>("open"), E_FAIL, "<not started>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        remove_tree(stage_folder() + u"recorded-start.txt");
        Ptr<IShellExtInit> init;
        ASSERT_EQ(create(ids::shell_menu, __uuidof(IShellExtInit), init), S_OK);
        ASSERT_EQ(initialize(init.get(), {c.item}), S_OK);
        Ptr<IContextMenu> menu;
        ASSERT_EQ(init->QueryInterface(__uuidof(IContextMenu), menu.out()), S_OK);
        CMINVOKECOMMANDINFO info{};
        info.cbSize = sizeof(info);
        info.lpVerb = reinterpret_cast<LPCSTR>(c.verb);
        info.nShow = SW_SHOWNORMAL;
        EXPECT_EQ(menu->InvokeCommand(&info), c.result);
        EXPECT_EQ(recorded_start(), c.record);
    }
    remove_tree(stage_folder() + u"recorded-start.txt");
}

TEST_F(Explorer, HelpTextIsTheLabelInTheThreadsOwnLanguage) {
    test::write_file(d + u"a.txt", "a");
    const RegistryValueScope lang(HKEY_CURRENT_USER, settings_key, u"lang", u"de");
    SetThreadLocale(MAKELCID(0x0409, SORT_DEFAULT));   // this thread's own language: English
    Ptr<IShellExtInit> init;
    ASSERT_EQ(create(ids::shell_menu, __uuidof(IShellExtInit), init), S_OK);
    ASSERT_EQ(initialize(init.get(), {d + u"a.txt"}), S_OK);
    Ptr<IContextMenu> menu;
    ASSERT_EQ(init->QueryInterface(__uuidof(IContextMenu), menu.out()), S_OK);

    wchar_t text[64];
    wmemset(text, L'#', 64);
    EXPECT_EQ(menu->GetCommandString(1, GCS_HELPTEXTW, nullptr, reinterpret_cast<CHAR*>(text), 64),
              E_INVALIDARG);
    EXPECT_EQ(menu->GetCommandString(0, GCS_VERBW, nullptr, reinterpret_cast<CHAR*>(text), 64), S_OK);
    EXPECT_EQ(menu->GetCommandString(0, GCS_HELPTEXTA, nullptr, reinterpret_cast<CHAR*>(text), 64),
              S_OK);
    EXPECT_EQ(text[0], L'#');   // untouched: no verbs, no ANSI texts
    EXPECT_EQ(menu->GetCommandString(0, GCS_HELPTEXTW, nullptr, reinterpret_cast<CHAR*>(text), 64),
              S_OK);
    EXPECT_EQ(to_utf8(u(text)), "Lock \"a.txt\"");
    EXPECT_EQ(menu->GetCommandString(0, GCS_HELPTEXTW, nullptr, reinterpret_cast<CHAR*>(text), 5),
              S_OK);
    EXPECT_EQ(to_utf8(u(text)), "Lock");   // cut to the buffer
}

// ---- Resources --------------------------------------------------------------------------------

TEST_F(Explorer, StringTablesHoldTheTextsOfFiveLanguages) {
    Ptr<IUnknown> overlay;   // loads the module
    ASSERT_EQ(create(ids::overlay, IID_IUnknown, overlay), S_OK);
    const HMODULE module = GetModuleHandleW(L"HushboxExt.dll");
    ASSERT_NE(module, nullptr);
    const struct {
        LANGID language;
        const char* texts[4];
    } tables[] = {
        {0x0409, {"Zenvor Hushbox", "Lock \"%ls\"", "Unlock \"%ls\"", "Open Zenvor Hushbox"}},
        {0x0407, {"Zenvor Hushbox", "Sperren „%ls“", "Entsperren „%ls“", "Öffnen Zenvor Hushbox"}},
        {0x0411, {"Zenvor Hushbox", "ロック 「%ls」", "ロック解除 「%ls」", "Zenvor Hushbox を開く"}},
        {0x0004, {"Zenvor Hushbox", "加锁 \"%ls\"", "解锁 \"%ls\"", "打开 Zenvor Hushbox"}},
        {0x0404, {"Zenvor Hushbox", "加鎖 \"%ls\"", "解鎖 \"%ls\"", "打開 Zenvor Hushbox"}},
    };
    for (const auto& table : tables) {
        SCOPED_TRACE(table.language);
        // Strings 101 to 104 are in block 7 (ids 96 to 111), entries 5 to 8.
        const HRSRC block = FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(7), table.language);
        ASSERT_NE(block, nullptr);
        const auto* units = static_cast<const char16_t*>(LockResource(LoadResource(module, block)));
        std::size_t at = 0;
        for (int entry = 0; entry < 16; ++entry) {
            const std::u16string text(units + at + 1, units[at]);
            if (entry >= 5 && entry <= 8) {
                EXPECT_EQ(to_utf8(text), table.texts[entry - 5]) << "string " << 96 + entry;
            } else {
                EXPECT_TRUE(text.empty()) << "string " << 96 + entry;
            }
            at += 1 + units[at];
        }
    }
}

TEST_F(Explorer, IconGroupsHoldTheirSizesAndTheOverlayIsTheFourth) {
    Ptr<IUnknown> overlay;
    ASSERT_EQ(create(ids::overlay, IID_IUnknown, overlay), S_OK);
    const HMODULE module = GetModuleHandleW(L"HushboxExt.dll");
    std::vector<WORD> groups;
    EnumResourceNamesW(
        module, RT_GROUP_ICON,
        [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) -> BOOL {
            reinterpret_cast<std::vector<WORD>*>(found)->push_back(
                static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name)));
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&groups));
    ASSERT_EQ(groups, (std::vector<WORD>{203, 205, 206, 209}));

#pragma pack(push, 2)
    struct GroupEntry {
        BYTE width, height, colours, reserved;
        WORD planes, bits;
        DWORD bytes;
        WORD id;
    };
    struct GroupHeader {
        WORD reserved, type, count;
    };
#pragma pack(pop)
    const struct {
        WORD group;
        std::vector<int> sizes;
    } expected[] = {
        {203, {19, 17, 15, 13}}, {205, {19, 17, 15, 13}}, {206, {19, 17, 15, 13}},
        {209, {256, 48, 32, 16}},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(e.group);
        const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(e.group), RT_GROUP_ICON);
        ASSERT_NE(found, nullptr);
        const auto* header = static_cast<const GroupHeader*>(LockResource(LoadResource(module, found)));
        const auto* entries = reinterpret_cast<const GroupEntry*>(header + 1);
        std::vector<int> sizes;
        for (WORD i = 0; i < header->count; ++i) {
            sizes.push_back(entries[i].width == 0 ? 256 : entries[i].width);
            EXPECT_EQ(entries[i].bits, 32);
        }
        EXPECT_EQ(sizes, e.sizes);
    }
    // The overlay picture loads at its sizes and has transparent parts.
    const HICON badge = static_cast<HICON>(
        LoadImageW(module, MAKEINTRESOURCEW(209), IMAGE_ICON, 48, 48, LR_DEFAULTCOLOR));
    ASSERT_NE(badge, nullptr);
    const Pixels pixels = icon_pixels(badge);
    EXPECT_EQ(pixels.width, 48);
    EXPECT_TRUE(any_alpha(pixels));
    EXPECT_EQ(pixels.data.front() >> 24, 0u);   // the top-left corner is transparent
    DestroyIcon(badge);
}

// ---- Overlay ----------------------------------------------------------------------------------

TEST_F(Explorer, OverlayMarksStubsByNameAlone) {
    Ptr<IShellIconOverlayIdentifier> overlay;
    ASSERT_EQ(create(ids::overlay, ids::overlay_itf, overlay), S_OK);
    const struct {
        const wchar_t* path;
        DWORD attributes;
        HRESULT member;
    } cases[] = {
        {L"D:\\report.doc.hbxfile", FILE_ATTRIBUTE_NORMAL, S_OK},
        {L"D:\\REPORT.DOC.HBXFILE", FILE_ATTRIBUTE_NORMAL, S_OK},
        {L"D:\\docs.hbxfolder", FILE_ATTRIBUTE_NORMAL, S_OK},
        {L"D:\\Old.hbxfolder", FILE_ATTRIBUTE_DIRECTORY, S_OK},   // attributes are not consulted
        {L"D:\\missing\\gone.hbxfile", 0, S_OK},                  // no file-system access
        {L"D:\\report.hbxfile.bak", FILE_ATTRIBUTE_NORMAL, S_FALSE},
        {L"D:\\report.doc", FILE_ATTRIBUTE_NORMAL, S_FALSE},
        {L"D:\\x.hbxfile\\noext", FILE_ATTRIBUTE_NORMAL, S_FALSE},
        {L"D:\\x.hbxfiles", FILE_ATTRIBUTE_NORMAL, S_FALSE},
        {L"", 0, S_FALSE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(to_utf8(u(c.path)));
        EXPECT_EQ(overlay->IsMemberOf(c.path, c.attributes), c.member);
    }

    wchar_t file[MAX_PATH] = {};
    int index = -1;
    DWORD flags = 0;
    ASSERT_EQ(overlay->GetOverlayInfo(file, MAX_PATH, &index, &flags), S_OK);
    EXPECT_EQ(to_utf8(u(file)), to_utf8(stage_folder() + u"HushboxExt.dll"));
    EXPECT_EQ(index, 3);
    EXPECT_EQ(flags, static_cast<DWORD>(ISIOI_ICONFILE | ISIOI_ICONINDEX));
    wchar_t cut[8];
    ASSERT_EQ(overlay->GetOverlayInfo(cut, 8, &index, &flags), S_OK);
    EXPECT_EQ(to_utf8(u(cut)), to_utf8(stage_folder().substr(0, 7)));
    int priority = -1;
    ASSERT_EQ(overlay->GetPriority(&priority), S_OK);
    EXPECT_EQ(priority, 0);
}

// ---- Stub icons and info tips -----------------------------------------------------------------

namespace {

// The identity of a file (volume and file index), to tell whether two paths name one file.
std::pair<DWORD, ULONGLONG> file_identity(const std::u16string& path) {
    const HANDLE file = CreateFileW(w(path), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {0, 0};
    BY_HANDLE_FILE_INFORMATION info{};
    GetFileInformationByHandle(file, &info);
    CloseHandle(file);
    return {info.dwVolumeSerialNumber,
            (static_cast<ULONGLONG>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

struct IconAnswer {
    HRESULT result = E_FAIL;
    std::u16string file;
    int index = -1;
    UINT flags = 0;
};

}  // namespace

class StubIcons : public Explorer {
protected:
    void SetUp() override {
        Explorer::SetUp();
        test::make_folders(d + u"docs");
        test::make_folders(d + u"apps");
    }

    // Puts an item into the vault of D: as locking does, and writes its stub.
    std::u16string lock(const std::u16string& source, const std::string& bytes, bool folder) {
        const PathParts p = split_path(source);
        const std::u16string item_folder_path = item_folder(u"D:", p.directory);
        EXPECT_EQ(create_folder_chain(item_folder_path), 0u);
        const std::u16string vault_path = combine(item_folder_path, p.name) + p.extension;
        if (folder) {
            EXPECT_EQ(platform::create_folder(vault_path), 0u);
        } else {
            test::write_file(vault_path, bytes);
        }
        test::write_file(source + (folder ? u".hbxfolder" : u".hbxfile"),
                         "[ENCRYPTINFO]\r\nSRC=" + to_utf8(after_root(source)) + "\r\n");
        return vault_path;
    }

    IconAnswer icon_location(const std::u16string& stub, Ptr<IExtractIconW>* keep = nullptr) {
        Ptr<IPersistFile> file;
        IconAnswer answer;
        if (create(ids::shell_icon, __uuidof(IPersistFile), file) != S_OK) return answer;
        EXPECT_EQ(file->Load(w(stub), STGM_READ), S_OK);
        Ptr<IExtractIconW> local;
        Ptr<IExtractIconW>& icon = keep != nullptr ? *keep : local;
        EXPECT_EQ(file->QueryInterface(ids::extract_icon_w, icon.out()), S_OK);
        wchar_t buffer[MAX_PATH] = {};
        answer.result = icon->GetIconLocation(GIL_FORSHELL, buffer, MAX_PATH, &answer.index,
                                              &answer.flags);
        answer.file = u(buffer);
        return answer;
    }
};

TEST_F(StubIcons, RegisteredTypesAndFoldersTakeTheirRegisteredIcon) {
    const std::u16string long_file = u"C:\\hbxtest\\" + std::u16string(180, u'i') + u"\\type.dll";
    const RegistryValueScope doc_type(HKEY_CLASSES_ROOT, u".hbxtestdoc", u"", u"HbxTest.Document");
    const RegistryValueScope doc_icon(HKEY_CLASSES_ROOT, u"HbxTest.Document\\DefaultIcon", u"",
                                      u"C:\\hbxtest\\icons\\doc.dll,1");
    const RegistryValueScope long_type(HKEY_CLASSES_ROOT, u".hbxtestlong", u"", u"HbxTest.Long");
    const RegistryValueScope long_icon(HKEY_CLASSES_ROOT, u"HbxTest.Long\\DefaultIcon", u"",
                                       (long_file + u",7").c_str());
    const RegistryValueScope short_type(HKEY_CLASSES_ROOT, u".hbxtestshort", u"", u"HbxTest.Short");
    const RegistryValueScope short_icon(HKEY_CLASSES_ROOT, u"HbxTest.Short\\DefaultIcon", u"", u"%1");
    const RegistryValueScope folder_icon(HKEY_CLASSES_ROOT, u"Directory\\DefaultIcon", u"",
                                         u"C:\\hbxtest\\icons\\folder.dll,4");
    lock(d + u"docs\\report.hbxtestdoc", "r", false);
    lock(d + u"docs\\long.hbxtestlong", "l", false);
    lock(d + u"docs\\short.hbxtestshort", "s", false);
    lock(d + u"docs\\Photos", "", true);
    test::write_file(d + u"docs\\gone.hbxtestdoc.hbxfile", "[ENCRYPTINFO]\r\nSRC=docs\\gone.hbxtestdoc\r\n");

    const struct {
        const char* name;
        std::u16string stub;
        std::u16string file;
        int index;
        UINT flags;
    } cases[] = {
        {"a registered type", d + u"docs\\report.hbxtestdoc.hbxfile", u"C:\\hbxtest\\icons\\doc.dll", 1, GIL_DONTCACHE},
        {"a registered type whose item is gone", d + u"docs\\gone.hbxtestdoc.hbxfile", u"C:\\hbxtest\\icons\\doc.dll", 1, GIL_DONTCACHE},
        {"a DefaultIcon of 200 characters is read whole", d + u"docs\\long.hbxtestlong.hbxfile", long_file, 7, GIL_DONTCACHE},
        {"a folder stub", d + u"docs\\Photos.hbxfolder", u"C:\\hbxtest\\icons\\folder.dll", 4, GIL_DONTCACHE},
        {"a location of 5 characters or fewer", d + u"docs\\short.hbxtestshort.hbxfile", u"", 0, GIL_NOTFILENAME | GIL_DONTCACHE},
        {"an unregistered type", d + u"docs\\data.xyz.hbxfile", u"", 0, GIL_NOTFILENAME | GIL_DONTCACHE},
    };
    test::write_file(d + u"docs\\data.xyz.hbxfile", "[ENCRYPTINFO]\r\nSRC=docs\\data.xyz\r\n");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const IconAnswer answer = icon_location(c.stub);
        EXPECT_EQ(answer.result, S_OK);
        EXPECT_EQ(to_utf8(answer.file), to_utf8(c.file));
        EXPECT_EQ(answer.index, c.index);
        EXPECT_EQ(answer.flags, c.flags);
    }
}

TEST_F(StubIcons, WithoutALocationExtractGivesTheShellsIconsForTheName) {
    test::write_file(d + u"docs\\data.xyz.hbxfile", "[ENCRYPTINFO]\r\nSRC=docs\\data.xyz\r\n");
    // Before GetIconLocation found nothing, Extract leaves the work to Explorer.
    {
        Ptr<IPersistFile> file;
        ASSERT_EQ(create(ids::shell_icon, __uuidof(IPersistFile), file), S_OK);
        ASSERT_EQ(file->Load(w(d + u"docs\\data.xyz.hbxfile"), STGM_READ), S_OK);
        Ptr<IExtractIconW> icon;
        ASSERT_EQ(file->QueryInterface(ids::extract_icon_w, icon.out()), S_OK);
        HICON large = nullptr;
        EXPECT_EQ(icon->Extract(L"", 0, &large, nullptr, MAKELONG(32, 16)), S_FALSE);
        EXPECT_EQ(large, nullptr);
    }

    // With no folder icon registered, a folder stub gets the shell's folder icon.
    const RegistryValueScope no_folder_icon(HKEY_CLASSES_ROOT, u"Directory\\DefaultIcon", u"", nullptr);
    lock(d + u"docs\\Photos", "", true);
    const struct {
        const char* name;
        std::u16string stub;
        std::u16string item;
        DWORD attributes;
    } cases[] = {
        {"an unregistered type", d + u"docs\\data.xyz.hbxfile", d + u"docs\\data.xyz", 0},
        {"a folder", d + u"docs\\Photos.hbxfolder", d + u"docs\\Photos", FILE_ATTRIBUTE_DIRECTORY},
    };
    std::vector<DWORD> seen;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Ptr<IExtractIconW> icon;
        const IconAnswer answer = icon_location(c.stub, &icon);
        ASSERT_EQ(answer.flags, static_cast<UINT>(GIL_NOTFILENAME | GIL_DONTCACHE));
        HICON large = nullptr;
        HICON small = nullptr;
        ASSERT_EQ(icon->Extract(w(answer.file), answer.index, &large, &small, MAKELONG(32, 16)), S_OK);
        ASSERT_NE(large, nullptr);
        ASSERT_NE(small, nullptr);
        SHFILEINFOW expected_large{}, expected_small{};
        SHGetFileInfoW(w(c.item), c.attributes, &expected_large, sizeof(expected_large),
                       SHGFI_ICON | SHGFI_USEFILEATTRIBUTES);
        SHGetFileInfoW(w(c.item), c.attributes, &expected_small, sizeof(expected_small),
                       SHGFI_ICON | SHGFI_USEFILEATTRIBUTES | SHGFI_SMALLICON);
        const Pixels got_large = icon_pixels(large);
        EXPECT_EQ(got_large.data, icon_pixels(expected_large.hIcon).data);
        EXPECT_EQ(icon_pixels(small).data, icon_pixels(expected_small.hIcon).data);
        EXPECT_NE(got_large.width, icon_pixels(small).width);
        EXPECT_NE(got_large.data, seen);   // the folder's picture is not the file's
        seen = got_large.data;
        for (HICON h : {large, small, expected_large.hIcon, expected_small.hIcon}) DestroyIcon(h);
        // A null out pointer is skipped.
        EXPECT_EQ(icon->Extract(w(answer.file), answer.index, nullptr, nullptr, 0), S_OK);
    }
}

TEST_F(StubIcons, LockedProgramsShowTheirOwnIconOrTheGenericOne) {
    // A program with icons (the extension's module, whose first group is the padlock) and one
    // without (the recording program).
    std::string with_icons = read_file(stage_folder() + u"HushboxExt.dll");
    std::string without_icons = read_file(stage_folder() + u"hushbox.exe");
    const std::u16string tool = lock(d + u"apps\\tool.exe", with_icons, false);
    lock(d + u"apps\\plain.exe", without_icons, false);
    test::write_file(d + u"apps\\gone.exe.hbxfile", "[ENCRYPTINFO]\r\nSRC=apps\\gone.exe\r\n");

    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    const std::u16string shell32 = u(system) + u"\\shell32.dll";

    const IconAnswer own = icon_location(d + u"apps\\tool.exe.hbxfile");
    EXPECT_EQ(own.result, S_OK);
    EXPECT_EQ(own.index, 0);
    EXPECT_EQ(own.flags, static_cast<UINT>(GIL_DONTCACHE));
    // The location is the program inside the vault, in a form the shell reads icons from.
    EXPECT_EQ(file_identity(own.file), file_identity(u"\\\\?\\" + tool));
    EXPECT_NE(file_identity(own.file).second, 0u);
    EXPECT_EQ(ExtractIconExW(w(own.file), -1, nullptr, nullptr, 0), 4u);

    for (const char16_t* stub : {u"apps\\plain.exe.hbxfile", u"apps\\gone.exe.hbxfile"}) {
        SCOPED_TRACE(to_utf8(stub));
        const IconAnswer generic = icon_location(d + stub);
        EXPECT_EQ(generic.result, S_OK);
        EXPECT_EQ(to_utf8(generic.file), to_utf8(shell32));
        EXPECT_EQ(generic.index, 2);
        EXPECT_EQ(generic.flags, static_cast<UINT>(GIL_DONTCACHE));
    }
}

TEST_F(StubIcons, LoadTakesPathsUpTo259CharactersAndRefusesLongerOnes) {
    const std::u16string longest = d + std::u16string(259 - d.size() - 8, u'x') + u".hbxfile";
    const std::u16string too_long = d + std::u16string(260 - d.size() - 8, u'x') + u".hbxfile";
    ASSERT_EQ(longest.size(), 259u);
    ASSERT_EQ(too_long.size(), 260u);
    const struct {
        const char* name;
        const CLSID* clsid;
        HRESULT longest;   // MyQueryInfo finds no item in the vault for it
    } cases[] = {{"MyShellIcon", &ids::shell_icon, S_OK}, {"MyQueryInfo", &ids::query_info, S_FALSE}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Ptr<IPersistFile> file;
        ASSERT_EQ(create(*c.clsid, __uuidof(IPersistFile), file), S_OK);
        EXPECT_EQ(file->Load(w(too_long), STGM_READ), E_INVALIDARG);
        EXPECT_EQ(file->Load(w(longest), STGM_READ), c.longest);
        CLSID id{};
        EXPECT_EQ(file->GetClassID(&id), E_NOTIMPL);
        EXPECT_EQ(file->IsDirty(), E_NOTIMPL);
        EXPECT_EQ(file->Save(nullptr, FALSE), E_NOTIMPL);
        EXPECT_EQ(file->SaveCompleted(nullptr), E_NOTIMPL);
        LPOLESTR current = nullptr;
        EXPECT_EQ(file->GetCurFile(&current), E_NOTIMPL);
    }
}

namespace {

// What the shell itself gives as the tip of the item at `path`.
HRESULT shell_tip(const std::u16string& path, std::u16string& tip) {
    IShellFolder* desktop = nullptr;
    HRESULT result = SHGetDesktopFolder(&desktop);
    if (FAILED(result)) return result;
    std::u16string copy = path;
    PIDLIST_RELATIVE item = nullptr;
    result = desktop->ParseDisplayName(nullptr, nullptr, reinterpret_cast<LPWSTR>(copy.data()),
                                       nullptr, &item, nullptr);
    if (SUCCEEDED(result)) {
        IShellFolder* parent = nullptr;
        PCUITEMID_CHILD child = nullptr;
        result = SHBindToParent(reinterpret_cast<PCIDLIST_ABSOLUTE>(item), __uuidof(IShellFolder),
                                reinterpret_cast<void**>(&parent), &child);
        if (SUCCEEDED(result)) {
            IQueryInfo* info = nullptr;
            result = parent->GetUIObjectOf(nullptr, 1, &child, ids::query_info_itf, nullptr,
                                           reinterpret_cast<void**>(&info));
            if (SUCCEEDED(result)) {
                PWSTR text = nullptr;
                result = info->GetInfoTip(0, &text);
                tip = u(text);
                CoTaskMemFree(text);
                info->Release();
            }
            parent->Release();
        }
        CoTaskMemFree(item);
    }
    desktop->Release();
    return result;
}

}  // namespace

TEST_F(StubIcons, InfoTipIsTheShellsTipOfTheItemInTheVault) {
    const std::u16string vault_path = lock(d + u"docs\\notes.txt", "notes", false);
    test::write_file(d + u"docs\\gone.txt.hbxfile", "[ENCRYPTINFO]\r\nSRC=docs\\gone.txt\r\n");

    // The tip of the item the shell reaches in the vault (by its short form: a name made only
    // of dots is not reachable otherwise).
    wchar_t reachable[MAX_PATH] = {};
    GetShortPathNameW(w(u"\\\\?\\" + vault_path), reachable, MAX_PATH);
    std::u16string expected_tip;
    const HRESULT expected = shell_tip(u(reachable + 4), expected_tip);

    Ptr<IPersistFile> file;
    ASSERT_EQ(create(ids::query_info, __uuidof(IPersistFile), file), S_OK);
    EXPECT_EQ(file->Load(w(d + u"docs\\notes.txt.hbxfile"), STGM_READ), S_OK);
    Ptr<IQueryInfo> info;
    ASSERT_EQ(file->QueryInterface(ids::query_info_itf, info.out()), S_OK);
    PWSTR tip = nullptr;
    EXPECT_EQ(info->GetInfoTip(QITIPF_USENAME, &tip), expected);
    EXPECT_EQ(to_utf8(u(tip)), to_utf8(expected_tip));
    CoTaskMemFree(tip);
    DWORD flags = 0;
    EXPECT_EQ(info->GetInfoFlags(&flags), E_NOTIMPL);

    // A stub whose item is gone loads with S_FALSE, and its tip is the shell's failure.
    Ptr<IPersistFile> gone;
    ASSERT_EQ(create(ids::query_info, __uuidof(IPersistFile), gone), S_OK);
    EXPECT_EQ(gone->Load(w(d + u"docs\\gone.txt.hbxfile"), STGM_READ), S_FALSE);
    Ptr<IQueryInfo> gone_info;
    ASSERT_EQ(gone->QueryInterface(ids::query_info_itf, gone_info.out()), S_OK);
    PWSTR no_tip = nullptr;
    EXPECT_TRUE(FAILED(gone_info->GetInfoTip(0, &no_tip)));
    EXPECT_EQ(no_tip, nullptr);
}
