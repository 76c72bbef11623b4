// DllInstall: "user" (case ignored, the whole text) registers the classes per user, anything
// else machine-wide; the open command names the program beside the extension, else the one a
// folder up, whether or not it exists. Each case loads its own copy of the extension, laid out
// under C:\hbxtest, as an installer would place it.
#include "shellext_support.h"

#include "paths.h"
#include "test_volumes.h"
#include "text.h"

#include <gtest/gtest.h>

#include <memory>

using namespace hbx::test;
using hbx::to_utf8;

namespace {

const wchar_t* w(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }

void copy(const std::u16string& from, const std::u16string& to) {
    ASSERT_TRUE(CopyFileW(w(from), w(to), FALSE)) << to_utf8(to) << " " << GetLastError();
}

// One copy of the extension in `folder` (with the library it imports), and the program in
// `program_folder` unless that is empty.
class InstalledCopy {
public:
    InstalledCopy(const std::u16string& folder, const std::u16string& program_folder) {
        make_folders(folder);
        copy(stage_folder() + u"HushboxExt.dll", folder + u"HushboxExt.dll");
        copy(stage_folder() + u"HushboxEnv.dll", folder + u"HushboxEnv.dll");
        if (!program_folder.empty()) {
            make_folders(program_folder);
            copy(stage_folder() + u"hushbox.exe", program_folder + u"hushbox.exe");
        }
        path_ = folder + u"HushboxExt.dll";
        module_ = LoadLibraryExW(w(path_), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    ~InstalledCopy() {
        if (module_ != nullptr) FreeLibrary(module_);
    }

    const std::u16string& path() const { return path_; }

    HRESULT install(BOOL install, const wchar_t* command_line) const {
        using DllInstallFn = HRESULT(WINAPI*)(BOOL, LPCWSTR);
        const auto function = reinterpret_cast<DllInstallFn>(
            reinterpret_cast<void*>(GetProcAddress(module_, "DllInstall")));
        if (function == nullptr) return E_NOTIMPL;
        return function(install, command_line);
    }

private:
    std::u16string path_;
    HMODULE module_ = nullptr;
};

const std::u16string shell_icon_server =
    u"CLSID\\{4932BDE6-1A91-413B-A19F-6C462731C3E9}\\InprocServer32";
const std::u16string open_command = u"hbxfile\\shell\\open\\command";
const std::u16string folder_open_command = u"hbxfolder\\shell\\open\\command";
const std::u16string overlay_key =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ShellIconOverlayIdentifiers\\"
    u"   ZenvorHushbox";
const std::u16string user_classes = u"Software\\Classes\\";
const std::u16string machine_classes = u"Software\\Classes\\";

std::u16string value(HKEY root, const std::u16string& key) {
    std::u16string text;
    if (!read_registry_string(root, key, u"", text)) return u"<missing>";
    return text;
}

}  // namespace

class DllInstall : public ::testing::Test {
protected:
    // A case that failed half-way must not leave per-user classes to the next one.
    void SetUp() override { forget_per_user_classes(); }
    void TearDown() override { forget_per_user_classes(); }

    static void forget_per_user_classes() {
        for (const char16_t* key :
             {u"hbxfile", u"hbxfolder", u".hbxfile", u".hbxfolder",
              u"CLSID\\{7C702D1D-5011-4D50-AB94-0E172E586AC4}",
              u"CLSID\\{8801875D-AEFF-4D06-ADB1-57E80C84479A}",
              u"CLSID\\{4932BDE6-1A91-413B-A19F-6C462731C3E9}",
              u"CLSID\\{2F105B1A-66B0-4BF1-931B-4A8F1B243E35}",
              u"*\\ShellEx\\ContextMenuHandlers\\ZenvorHushbox",
              u"Folder\\ShellEx\\ContextMenuHandlers\\ZenvorHushbox",
              u"Directory\\ShellEx\\ContextMenuHandlers\\ZenvorHushbox"}) {
            delete_registry_tree(HKEY_CURRENT_USER, user_classes + key);
        }
    }

    TestVolumes volumes;   // C:\hbxtest, emptied before and after
};

TEST_F(DllInstall, UserTwoRegistersMachineWideWithTheProgramBeside) {
    auto copy_a = std::make_unique<InstalledCopy>(u"C:\\hbxtest\\beside\\", u"C:\\hbxtest\\beside\\");
    ASSERT_EQ(copy_a->install(TRUE, L"user2"), S_OK);
    EXPECT_EQ(to_utf8(value(HKEY_LOCAL_MACHINE, machine_classes + shell_icon_server)),
              to_utf8(copy_a->path()));
    EXPECT_EQ(to_utf8(value(HKEY_LOCAL_MACHINE, machine_classes + open_command)),
              "C:\\hbxtest\\beside\\hushbox.exe \"%1\"");
    EXPECT_EQ(to_utf8(value(HKEY_LOCAL_MACHINE, machine_classes + folder_open_command)),
              "C:\\hbxtest\\beside\\hushbox.exe \"%1\"");
    EXPECT_FALSE(registry_key_exists(HKEY_CURRENT_USER, user_classes + shell_icon_server));
    EXPECT_TRUE(registry_key_exists(HKEY_LOCAL_MACHINE, overlay_key));

    ASSERT_EQ(copy_a->install(FALSE, L"user2"), S_OK);
    EXPECT_FALSE(registry_key_exists(HKEY_LOCAL_MACHINE, machine_classes + shell_icon_server));
    EXPECT_FALSE(registry_key_exists(HKEY_LOCAL_MACHINE, machine_classes + u"hbxfile"));
    EXPECT_FALSE(registry_key_exists(HKEY_LOCAL_MACHINE, overlay_key));
}

TEST_F(DllInstall, UserInAnyCaseRegistersPerUser) {
    // The program one folder up, in a path with spaces: written unquoted before "%1".
    const struct {
        const wchar_t* command_line;
        std::u16string extension_folder;
        std::u16string program_folder;
        const char* command;
    } cases[] = {
        {L"USER", u"C:\\hbxtest\\Program Files\\Hushbox\\ext\\", u"C:\\hbxtest\\Program Files\\Hushbox\\",
         "C:\\hbxtest\\Program Files\\Hushbox\\hushbox.exe \"%1\""},
        // No program anywhere: the folder above is written all the same.
        {L"uSeR", u"C:\\hbxtest\\none\\ext\\", u"",
         "C:\\hbxtest\\none\\hushbox.exe \"%1\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        auto installed = std::make_unique<InstalledCopy>(c.extension_folder, c.program_folder);
        ASSERT_EQ(installed->install(TRUE, c.command_line), S_OK);
        EXPECT_EQ(to_utf8(value(HKEY_CURRENT_USER, user_classes + shell_icon_server)),
                  to_utf8(installed->path()));
        EXPECT_EQ(to_utf8(value(HKEY_CURRENT_USER, user_classes + open_command)), c.command);
        EXPECT_EQ(to_utf8(value(HKEY_CURRENT_USER, user_classes + folder_open_command)), c.command);
        EXPECT_EQ(to_utf8(value(HKEY_CURRENT_USER, user_classes + u".hbxfile")), "hbxfile");
        // Nothing of the classes machine-wide; the overlay identifier is machine-wide anyway.
        EXPECT_FALSE(registry_key_exists(HKEY_LOCAL_MACHINE, machine_classes + shell_icon_server));
        EXPECT_FALSE(registry_key_exists(HKEY_LOCAL_MACHINE, machine_classes + u"hbxfile"));
        EXPECT_TRUE(registry_key_exists(HKEY_LOCAL_MACHINE, overlay_key));

        ASSERT_EQ(installed->install(FALSE, c.command_line), S_OK);
        EXPECT_FALSE(registry_key_exists(HKEY_CURRENT_USER, user_classes + shell_icon_server));
        EXPECT_FALSE(registry_key_exists(HKEY_CURRENT_USER, user_classes + u"hbxfile"));
        EXPECT_FALSE(registry_key_exists(HKEY_CURRENT_USER, user_classes + u".hbxfile"));
        EXPECT_FALSE(registry_key_exists(HKEY_LOCAL_MACHINE, overlay_key));
    }
}
