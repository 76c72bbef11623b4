// What "regsvr32 /s HushboxExt.dll" (run by the test fixture in the staging folder, where the
// program stands beside the extension) leaves in the registry: every key and value of the
// registration, the open command, and the type library and proxy/stub registrations.
#include "shellext_support.h"

#include "text.h"

#include <gtest/gtest.h>

#include <oleauto.h>

using namespace hbx::test;
using hbx::to_utf8;

namespace {

struct Expected {
    HKEY root;
    const char16_t* key;
    const char16_t* name;    // nullptr: the key only has to exist
    const char16_t* data;    // %MODULE%: the extension's path, %PROGRAM%: the program's path
};

std::u16string expand(std::u16string text) {
    const std::u16string module = stage_folder() + u"HushboxExt.dll";
    const std::u16string program = stage_folder() + u"hushbox.exe";
    for (const auto& [name, value] : {std::pair{std::u16string(u"%MODULE%"), module},
                                      std::pair{std::u16string(u"%PROGRAM%"), program}}) {
        for (std::size_t at; (at = text.find(name)) != std::u16string::npos;) {
            text.replace(at, name.size(), value);
        }
    }
    return text;
}

}  // namespace

TEST(Registration, WritesEveryKeyAndValue) {
    const HKEY cr = HKEY_CLASSES_ROOT;
    const HKEY lm = HKEY_LOCAL_MACHINE;
    const Expected expected[] = {
        // Context-menu handler.
        {cr, u"CLSID\\{7C702D1D-5011-4D50-AB94-0E172E586AC4}", u"", u"HushboxShellMenu Class"},
        {cr, u"CLSID\\{7C702D1D-5011-4D50-AB94-0E172E586AC4}\\InprocServer32", u"", u"%MODULE%"},
        {cr, u"CLSID\\{7C702D1D-5011-4D50-AB94-0E172E586AC4}\\InprocServer32", u"ThreadingModel", u"Apartment"},
        {cr, u"CLSID\\{7C702D1D-5011-4D50-AB94-0E172E586AC4}\\TypeLib", u"", u"{350750B7-9871-4C29-A1C8-B3EC1E66DAA4}"},
        {cr, u"CLSID\\{7C702D1D-5011-4D50-AB94-0E172E586AC4}\\Version", u"", u"1.0"},
        {cr, u"*\\ShellEx\\ContextMenuHandlers\\ZenvorHushbox", u"", u"{7C702D1D-5011-4D50-AB94-0E172E586AC4}"},
        {cr, u"Folder\\ShellEx\\ContextMenuHandlers\\ZenvorHushbox", u"", u"{7C702D1D-5011-4D50-AB94-0E172E586AC4}"},
        {cr, u"Directory\\ShellEx\\ContextMenuHandlers\\ZenvorHushbox", u"", u"{7C702D1D-5011-4D50-AB94-0E172E586AC4}"},
        // Overlay, machine-wide, its key name beginning with three spaces.
        {cr, u"CLSID\\{8801875D-AEFF-4D06-ADB1-57E80C84479A}", u"", u"ShellIconOverlay Class"},
        {cr, u"CLSID\\{8801875D-AEFF-4D06-ADB1-57E80C84479A}\\InprocServer32", u"", u"%MODULE%"},
        {cr, u"CLSID\\{8801875D-AEFF-4D06-ADB1-57E80C84479A}\\InprocServer32", u"ThreadingModel", u"Apartment"},
        {cr, u"CLSID\\{8801875D-AEFF-4D06-ADB1-57E80C84479A}\\TypeLib", u"", u"{350750B7-9871-4C29-A1C8-B3EC1E66DAA4}"},
        {cr, u"CLSID\\{8801875D-AEFF-4D06-ADB1-57E80C84479A}\\Version", u"", u"1.0"},
        {lm, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ShellIconOverlayIdentifiers\\   ZenvorHushbox", u"", u"{8801875D-AEFF-4D06-ADB1-57E80C84479A}"},
        // Icon handler and the two stub types.
        {cr, u"CLSID\\{4932BDE6-1A91-413B-A19F-6C462731C3E9}", u"", u"ShellIcon Class"},
        {cr, u"CLSID\\{4932BDE6-1A91-413B-A19F-6C462731C3E9}\\InprocServer32", u"", u"%MODULE%"},
        {cr, u"CLSID\\{4932BDE6-1A91-413B-A19F-6C462731C3E9}\\InprocServer32", u"ThreadingModel", u"Apartment"},
        {cr, u"CLSID\\{4932BDE6-1A91-413B-A19F-6C462731C3E9}\\TypeLib", u"", u"{350750B7-9871-4C29-A1C8-B3EC1E66DAA4}"},
        {cr, u"CLSID\\{4932BDE6-1A91-413B-A19F-6C462731C3E9}\\Version", u"", u"1.0"},
        {cr, u"hbxfile", u"", u"locked file"},
        {cr, u"hbxfile", u"NeverShowExt", u""},
        {cr, u"hbxfile\\DefaultIcon", u"", u"%MODULE%"},
        {cr, u"hbxfile\\shell\\open\\command", u"", u"%PROGRAM% \"%1\""},
        {cr, u"hbxfile\\ShellEx\\IconHandler", u"", u"{4932BDE6-1A91-413B-A19F-6C462731C3E9}"},
        {cr, u"hbxfolder", u"", u"locked folder"},
        {cr, u"hbxfolder", u"NeverShowExt", u""},
        {cr, u"hbxfolder\\DefaultIcon", u"", u"%MODULE%"},
        {cr, u"hbxfolder\\shell\\open\\command", u"", u"%PROGRAM% \"%1\""},
        {cr, u"hbxfolder\\ShellEx\\IconHandler", u"", u"{4932BDE6-1A91-413B-A19F-6C462731C3E9}"},
        // Info-tip handler under the two extensions.
        {cr, u"CLSID\\{2F105B1A-66B0-4BF1-931B-4A8F1B243E35}", u"", u"MyQueryInfo Class"},
        {cr, u"CLSID\\{2F105B1A-66B0-4BF1-931B-4A8F1B243E35}\\InprocServer32", u"", u"%MODULE%"},
        {cr, u"CLSID\\{2F105B1A-66B0-4BF1-931B-4A8F1B243E35}\\InprocServer32", u"ThreadingModel", u"Apartment"},
        {cr, u"CLSID\\{2F105B1A-66B0-4BF1-931B-4A8F1B243E35}\\TypeLib", u"", u"{350750B7-9871-4C29-A1C8-B3EC1E66DAA4}"},
        {cr, u"CLSID\\{2F105B1A-66B0-4BF1-931B-4A8F1B243E35}\\Version", u"", u"1.0"},
        {cr, u".hbxfile", u"", u"hbxfile"},
        {cr, u".hbxfile\\ShellEx\\{00021500-0000-0000-C000-000000000046}", u"", u"{2F105B1A-66B0-4BF1-931B-4A8F1B243E35}"},
        {cr, u".hbxfolder", u"", u"hbxfolder"},
        {cr, u".hbxfolder\\ShellEx\\{00021500-0000-0000-C000-000000000046}", u"", u"{2F105B1A-66B0-4BF1-931B-4A8F1B243E35}"},
        // Type library: its name and the module that holds it.
        {cr, u"TypeLib\\{350750B7-9871-4C29-A1C8-B3EC1E66DAA4}\\1.0", u"", u"HushboxExtLib"},
        {cr, u"TypeLib\\{350750B7-9871-4C29-A1C8-B3EC1E66DAA4}\\1.0\\409\\win64", u"", u"%MODULE%"},
        // Proxy/stub: each interface names the proxy/stub class (the IID of IMyQueryInfo),
        // whose server is this module.
        {cr, u"Interface\\{794CEEB4-2B00-4835-8CDB-2688B19262DB}", u"", u"IShellMenu"},
        {cr, u"Interface\\{794CEEB4-2B00-4835-8CDB-2688B19262DB}\\ProxyStubClsid32", u"", u"{F20CDB5D-63E8-4EC1-A136-C2071707626C}"},
        {cr, u"Interface\\{8ED1DFF3-BCD6-49F3-94BE-9D2897999EFB}", u"", u"IShellOverlay"},
        {cr, u"Interface\\{8ED1DFF3-BCD6-49F3-94BE-9D2897999EFB}\\ProxyStubClsid32", u"", u"{F20CDB5D-63E8-4EC1-A136-C2071707626C}"},
        {cr, u"Interface\\{8875B6CB-8DAF-4763-9D6A-ED938A433B40}", u"", u"IMyShellIcon"},
        {cr, u"Interface\\{8875B6CB-8DAF-4763-9D6A-ED938A433B40}\\ProxyStubClsid32", u"", u"{F20CDB5D-63E8-4EC1-A136-C2071707626C}"},
        {cr, u"Interface\\{F20CDB5D-63E8-4EC1-A136-C2071707626C}", u"", u"IMyQueryInfo"},
        {cr, u"Interface\\{F20CDB5D-63E8-4EC1-A136-C2071707626C}\\ProxyStubClsid32", u"", u"{F20CDB5D-63E8-4EC1-A136-C2071707626C}"},
        {cr, u"CLSID\\{F20CDB5D-63E8-4EC1-A136-C2071707626C}\\InprocServer32", u"", u"%MODULE%"},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(to_utf8(e.key) + " : " + to_utf8(e.name));
        std::u16string value;
        ASSERT_TRUE(read_registry_string(e.root, e.key, e.name, value));
        EXPECT_EQ(to_utf8(value), to_utf8(expand(e.data)));
    }
}

TEST(Registration, OverlayKeyNameKeepsItsThreeLeadingSpaces) {
    HKEY identifiers = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE,
                            L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"
                            L"ShellIconOverlayIdentifiers",
                            0, KEY_READ, &identifiers),
              ERROR_SUCCESS);
    std::vector<std::u16string> ours;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD size = 256;
        if (RegEnumKeyExW(identifiers, i, name, &size, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        const std::u16string key(reinterpret_cast<const char16_t*>(name));
        if (key.find(u"ZenvorHushbox") != std::u16string::npos) ours.push_back(key);
    }
    RegCloseKey(identifiers);
    ASSERT_EQ(ours.size(), 1u);
    EXPECT_EQ(to_utf8(ours[0]), "   ZenvorHushbox");
}

TEST(Registration, TypeLibraryDeclaresTheClassesAndMethodlessInterfaces) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    ITypeLib* library = nullptr;
    ASSERT_EQ(LoadRegTypeLib(ids::type_library, 1, 0, 0x0409, &library), S_OK);
    BSTR name = nullptr;
    ASSERT_EQ(library->GetDocumentation(-1, &name, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(to_utf8(reinterpret_cast<const char16_t*>(name)), "HushboxExtLib");
    SysFreeString(name);
    TLIBATTR* attributes = nullptr;
    ASSERT_EQ(library->GetLibAttr(&attributes), S_OK);
    EXPECT_EQ(attributes->wMajorVerNum, 1);
    EXPECT_EQ(attributes->wMinorVerNum, 0);
    EXPECT_EQ(attributes->lcid, 0x0409u);
    library->ReleaseTLibAttr(attributes);

    const struct {
        const char* name;
        const GUID* id;
        TYPEKIND kind;
    } types[] = {
        {"HushboxShellMenu", &ids::shell_menu, TKIND_COCLASS},
        {"ShellOverlay", &ids::overlay, TKIND_COCLASS},
        {"MyShellIcon", &ids::shell_icon, TKIND_COCLASS},
        {"MyQueryInfo", &ids::query_info, TKIND_COCLASS},
        {"IShellMenu", &ids::i_shell_menu, TKIND_INTERFACE},
        {"IShellOverlay", &ids::i_shell_overlay, TKIND_INTERFACE},
        {"IMyShellIcon", &ids::i_my_shell_icon, TKIND_INTERFACE},
        {"IMyQueryInfo", &ids::i_my_query_info, TKIND_INTERFACE},
    };
    for (const auto& t : types) {
        SCOPED_TRACE(t.name);
        ITypeInfo* info = nullptr;
        ASSERT_EQ(library->GetTypeInfoOfGuid(*t.id, &info), S_OK);
        BSTR type_name = nullptr;
        info->GetDocumentation(MEMBERID_NIL, &type_name, nullptr, nullptr, nullptr);
        EXPECT_EQ(to_utf8(reinterpret_cast<const char16_t*>(type_name)), t.name);
        SysFreeString(type_name);
        TYPEATTR* type = nullptr;
        ASSERT_EQ(info->GetTypeAttr(&type), S_OK);
        EXPECT_EQ(type->typekind, t.kind);
        if (t.kind == TKIND_COCLASS) {
            EXPECT_NE(type->wTypeFlags & TYPEFLAG_FCANCREATE, 0);
        } else {
            // Derived directly from IUnknown, no methods of its own, not automation.
            EXPECT_EQ(type->cFuncs, 0);
            EXPECT_EQ(type->cbSizeVft, 3 * sizeof(void*));
            EXPECT_EQ(type->wTypeFlags & (TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION), 0);
            HREFTYPE base = 0;
            ASSERT_EQ(info->GetRefTypeOfImplType(0, &base), S_OK);
            ITypeInfo* base_info = nullptr;
            ASSERT_EQ(info->GetRefTypeInfo(base, &base_info), S_OK);
            TYPEATTR* base_type = nullptr;
            base_info->GetTypeAttr(&base_type);
            EXPECT_TRUE(IsEqualGUID(base_type->guid, IID_IUnknown));
            base_info->ReleaseTypeAttr(base_type);
            base_info->Release();
        }
        info->ReleaseTypeAttr(type);
        info->Release();
    }
    library->Release();
    CoUninitialize();
}
