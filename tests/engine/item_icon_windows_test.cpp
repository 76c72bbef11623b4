// The icon handles that item_icon makes on Windows: the generic type icon for files and
// folders, a program's own first icon (from the vault copy when the program is locked), the
// generic program icon for a program without icons, at the large and the small size.
//
// icon_program.exe carries one icon, opaque red at 16 and 32 pixels; plain_program.exe none.
#include "files.h"
#include "item_icon.h"
#include "lock_service.h"
#include "paths.h"
#include "platform/platform.h"
#include "text.h"
#include "vault.h"

#include "test_volumes.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <vector>

using namespace hbx;

namespace {

// The colour image of an icon, top-down, 0xAARRGGBB per pixel.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    bool operator==(const Picture& o) const {
        return width == o.width && height == o.height && pixels == o.pixels;
    }
    std::uint32_t centre_rgb() const {
        return pixels.empty() ? 0 : pixels[(height / 2) * width + width / 2] & 0xFFFFFFu;
    }
};

Picture picture(platform::IconHandle handle) {
    Picture p;
    ICONINFO info = {};
    if (handle == nullptr || !GetIconInfo(static_cast<HICON>(handle), &info)) return p;
    BITMAP bitmap = {};
    if (info.hbmColor != nullptr && GetObjectW(info.hbmColor, sizeof bitmap, &bitmap)) {
        p.width = bitmap.bmWidth;
        p.height = bitmap.bmHeight;
        p.pixels.resize(static_cast<std::size_t>(p.width) * p.height);
        BITMAPINFO format = {};
        format.bmiHeader.biSize = sizeof format.bmiHeader;
        format.bmiHeader.biWidth = p.width;
        format.bmiHeader.biHeight = -p.height;
        format.bmiHeader.biPlanes = 1;
        format.bmiHeader.biBitCount = 32;
        format.bmiHeader.biCompression = BI_RGB;
        HDC dc = CreateCompatibleDC(nullptr);
        GetDIBits(dc, info.hbmColor, 0, static_cast<UINT>(p.height), p.pixels.data(), &format,
                  DIB_RGB_COLORS);
        DeleteDC(dc);
    }
    if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
    if (info.hbmMask != nullptr) DeleteObject(info.hbmMask);
    return p;
}

// The shell's generic icon for an item of that name, asked without the engine.
Picture system_type_icon(const wchar_t* name, bool folder, bool large) {
    SHFILEINFOW info = {};
    SHGetFileInfoW(name, folder ? FILE_ATTRIBUTE_DIRECTORY : 0, &info, sizeof info,
                   SHGFI_ICON | SHGFI_USEFILEATTRIBUTES | (large ? 0 : SHGFI_SMALLICON));
    const Picture p = picture(info.hIcon);
    if (info.hIcon != nullptr) DestroyIcon(info.hIcon);
    return p;
}

bool is_icon(HICON icon) {
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info)) return false;
    if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
    if (info.hbmMask != nullptr) DeleteObject(info.hbmMask);
    return true;
}

// A fixture program built beside this test program, copied to `to`.
void copy_program(const char* name, const std::u16string& to) {
    const std::u16string from = from_utf8(test::program_folder()) + u"\\" + from_utf8(name);
    std::string bytes;
    ASSERT_EQ(platform::read_file(from, bytes), 0u) << name;
    test::write_file(to, bytes);
}

constexpr std::uint32_t red = 0xFF0000u;

class WindowsItemIcon : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(create_folder_chain(vault_), 0u);
        test::make_folders(u"D:\\docs");
        test::write_file(combine(vault_, u"notes.txt"), "locked text");
        test::make_folders(combine(vault_, u"pics"));
        copy_program("icon_program.exe", combine(vault_, u"red.exe"));
        copy_program("plain_program.exe", combine(vault_, u"plain.exe"));
        copy_program("icon_program.exe", u"D:\\docs\\here.exe");
        // The vault holds a program without icons, its place one with.
        copy_program("plain_program.exe", combine(vault_, u"swapped.exe"));
        copy_program("icon_program.exe", u"D:\\docs\\swapped.exe");
    }

    test::TestVolumes volumes_;
    const std::u16string vault_ = item_folder(u"D:", u"\\docs\\");
};

}  // namespace

TEST_F(WindowsItemIcon, TypeIconsOwnIconsAndTheFallback) {
    for (const bool large : {true, false}) {
        const int size = GetSystemMetrics(large ? SM_CXICON : SM_CXSMICON);
        const Picture text = system_type_icon(L"x.txt", false, large);
        const Picture folder = system_type_icon(L"x", true, large);
        const Picture program = system_type_icon(L"x.exe", false, large);
        ASSERT_EQ(text.width, size);
        ASSERT_FALSE(text == folder) << "the shell gives files and folders the same icon";

        const struct {
            const char16_t* path;
            IconOrigin origin;
            const Picture* expected;   // null: the red icon of icon_program.exe
            const char* why;
        } cases[] = {
            {u"D:\\docs\\notes.txt", IconOrigin::file_type, &text, "a locked text file"},
            {u"D:\\docs\\pics", IconOrigin::file_type, &folder, "a locked folder"},
            {u"D:\\docs\\red.exe", IconOrigin::program, nullptr, "a locked program, own icon"},
            {u"D:\\docs\\here.exe", IconOrigin::program, nullptr, "a program in its place"},
            {u"D:\\docs\\plain.exe", IconOrigin::file_type, &program, "a program without icons"},
            {u"D:\\docs\\swapped.exe", IconOrigin::file_type, &program, "the vault copy counts"},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.why) + (large ? ", large" : ", small"));
            const ItemIcon icon = LockService::instance().item_icon(c.path, large);
            ASSERT_NE(icon.handle(), nullptr);
            EXPECT_EQ(icon_origin_name(icon.origin()), std::string(icon_origin_name(c.origin)));
            const Picture got = picture(icon.handle());
            EXPECT_EQ(got.width, size);
            EXPECT_EQ(got.height, size);
            if (c.expected == nullptr) {
                EXPECT_EQ(got.centre_rgb(), red);
            } else {
                EXPECT_TRUE(got == *c.expected);
                EXPECT_NE(got.centre_rgb(), red);
            }
        }
    }
}

TEST_F(WindowsItemIcon, TheCallerOwnsTheHandle) {
    HICON kept = nullptr;
    {
        ItemIcon icon = LockService::instance().item_icon(u"D:\\docs\\red.exe", true);
        ItemIcon moved = std::move(icon);
        EXPECT_EQ(icon.handle(), nullptr);
        kept = static_cast<HICON>(moved.handle());
        ASSERT_TRUE(is_icon(kept));
    }
    EXPECT_FALSE(is_icon(kept)) << "the icon outlived its owner";

    ItemIcon icon = LockService::instance().item_icon(u"D:\\docs\\red.exe", false);
    HICON released = static_cast<HICON>(icon.release());
    EXPECT_EQ(icon.handle(), nullptr);
    ASSERT_TRUE(is_icon(released));
    EXPECT_TRUE(DestroyIcon(released));
}
