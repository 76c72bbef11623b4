// Runs as on Windows 5 (the lane's prefix reports version 5.1 to this program alone): the
// vault's parent folder has four dots, and the inspector says it is old Windows.
#include "files.h"
#include "item_inspector.h"
#include "paths.h"
#include "platform/platform.h"
#include "vault.h"

#include "test_volumes.h"

#include <gtest/gtest.h>

using namespace hbx;

TEST(OldWindows, TheVaultParentHasFourDots) {
    ASSERT_EQ(platform::os_major_version(), 5u);
    test::TestVolumes volumes;
    EXPECT_EQ(vault_root(u"D:"), u"D:\\....\\hbx\\");
    ASSERT_EQ(create_folder_chain(item_folder(u"D:", u"\\x\\")), 0u);
    EXPECT_TRUE(platform::is_folder(u"D:\\....\\hbx\\data"));
    EXPECT_FALSE(platform::exists(u"D:\\...\\"));
}

TEST(OldWindows, TheInspectorSaysSo) {
    EXPECT_TRUE(hbx::ItemInspector::instance().is_old_windows());
}
