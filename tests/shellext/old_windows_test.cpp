// The context menu on a system older than Windows Vista (Wine reports version 5.1 to this
// program alone): no buffered painting, so each picture is the icon drawn on white at the menu
// check-mark size.
#include "explorer_play.h"
#include "shellext_support.h"

#include "test_volumes.h"

#include <gtest/gtest.h>

using namespace hbx::test;

TEST(OldWindowsMenu, PicturesAreIconsOnWhiteAtTheCheckMarkSize) {
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);
    ASSERT_TRUE(GetVersionExW(&version));
    ASSERT_EQ(version.dwMajorVersion, 5u);

    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    {
        TestVolumes volumes;
        const std::u16string file = TestVolumes::at(u'D', u"a.txt");
        write_file(file, "a");
        Ptr<IShellExtInit> init;
        ASSERT_EQ(CoCreateInstance(ids::shell_menu, nullptr, CLSCTX_INPROC_SERVER,
                                   __uuidof(IShellExtInit), init.out()),
                  S_OK);
        ASSERT_EQ(initialize(init.get(), {file}), S_OK);
        Ptr<IContextMenu> menu;
        ASSERT_EQ(init->QueryInterface(__uuidof(IContextMenu), menu.out()), S_OK);
        const HMENU explorer = CreatePopupMenu();
        ASSERT_EQ(HRESULT_CODE(menu->QueryContextMenu(explorer, 0, 1, 10, CMF_NORMAL)), 2);

        const MenuItem title = menu_item(explorer, 1);
        for (const MenuItem& item : {title, menu_item(title.submenu, 0)}) {
            SCOPED_TRACE(item.id);
            const Pixels picture = bitmap_pixels(item.bitmap);
            EXPECT_EQ(picture.width, GetSystemMetrics(SM_CXMENUCHECK));
            EXPECT_EQ(picture.height, GetSystemMetrics(SM_CYMENUCHECK));
            ASSERT_FALSE(picture.data.empty());
            EXPECT_EQ(picture.data.front() & 0xFFFFFF, 0xFFFFFFu);   // white where the icon is clear
            bool drawn = false;
            for (DWORD pixel : picture.data) drawn = drawn || (pixel & 0xFFFFFF) != 0xFFFFFF;
            EXPECT_TRUE(drawn);
        }
        DestroyMenu(explorer);
    }
    CoUninitialize();
}
