#include "platform/volume_map.h"

#include <gtest/gtest.h>

using namespace hbx::platform;

TEST(VolumeMap, ParsesEntriesTypesAndLetterOrder) {
    const VolumeMap map = parse_volume_map(
        "N=/mnt/share:network,c=/home/ann,E=/media/ann/USB:removable,R=/media/cd/:cdrom,"
        "F=/srv/a:b:fixed");
    ASSERT_EQ(map.problem, "");
    ASSERT_EQ(map.volumes.size(), 5u);
    const struct {
        char16_t letter;
        const char* directory;
        DriveType type;
    } expected[] = {
        {u'C', "/home/ann", DriveType::fixed},      {u'E', "/media/ann/USB", DriveType::removable},
        {u'F', "/srv/a:b", DriveType::fixed},       {u'N', "/mnt/share", DriveType::remote},
        {u'R', "/media/cd", DriveType::cdrom},
    };
    for (std::size_t i = 0; i < map.volumes.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(map.volumes[i].letter, expected[i].letter);
        EXPECT_EQ(map.volumes[i].directory, expected[i].directory);
        EXPECT_EQ(map.volumes[i].type, expected[i].type);
    }
    EXPECT_NE(map.find(u'e'), nullptr);
    EXPECT_EQ(map.find(u'Z'), nullptr);
}

TEST(VolumeMap, RefusesMalformedMapsWithAReason) {
    const struct {
        const char* text;
        const char* reason;
    } cases[] = {
        {"", "no volume"},
        {"C:/home/ann", "not of the form"},
        {"1=/x", "not of the form"},
        {"C=home/ann", "not an absolute path"},
        {"C=/a:floppy", "unknown drive type"},
        {"C=/a,c=/b", "given twice"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const VolumeMap map = parse_volume_map(c.text);
        EXPECT_TRUE(map.volumes.empty());
        EXPECT_NE(map.problem.find(c.reason), std::string::npos) << map.problem;
    }
}

TEST(VolumeMap, DefaultIsHomeThenUserMediaInMountOrder) {
    const auto points = parse_mount_table(
        "/dev/sda1 / ext4 rw 0 0\n"
        "/dev/sdb1 /media/ann/USB\\040STICK vfat rw 0 0\n"
        "/dev/sdc1 /media/bob/OTHER vfat rw 0 0\n"
        "/dev/sdd1 /run/media/ann/CARD exfat rw 0 0\n"
        "/dev/sde1 /media/ann/deep/er vfat rw 0 0\n");
    ASSERT_EQ(points.size(), 5u);
    EXPECT_EQ(points[1], "/media/ann/USB STICK");
    const VolumeMap map = default_volume_map("/home/ann/", "ann", points);
    ASSERT_EQ(map.volumes.size(), 3u);
    EXPECT_EQ(map.volumes[0].directory, "/home/ann");
    EXPECT_EQ(map.volumes[0].type, DriveType::fixed);
    EXPECT_EQ(map.volumes[1].letter, u'D');
    EXPECT_EQ(map.volumes[1].directory, "/media/ann/USB STICK");
    EXPECT_EQ(map.volumes[1].type, DriveType::removable);
    EXPECT_EQ(map.volumes[2].letter, u'E');
    EXPECT_EQ(map.volumes[2].directory, "/run/media/ann/CARD");
    EXPECT_FALSE(default_volume_map("", "ann", {}).problem.empty());
}

TEST(VolumeMap, NormalizesNativePaths) {
    const struct {
        const char* path;
        const char* expected;
    } cases[] = {
        {"/a//b/./c/", "/a/b/c"}, {"x/../y", "/work/y"}, {"/../..", "/"},
        {".", "/work"},           {"/a/b/../../..", "/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(normalize_native(c.path, "/work"), c.expected);
    }
}

TEST(VolumeMap, EngineToNative) {
    const VolumeMap map = parse_volume_map("C=/home/ann,E=/media/ann/USB:removable,Z=/");
    const struct {
        const char16_t* engine;
        bool ok;
        const char* native_or_reason;
    } cases[] = {
        {u"C:\\Docs\\a.txt", true, "/home/ann/Docs/a.txt"},
        {u"c:/Docs//a.txt", true, "/home/ann/Docs/a.txt"},
        {u"C:\\", true, "/home/ann"},
        {u"C:", true, "/home/ann"},
        {u"C:\\...\\hbx\\", true, "/home/ann/.../hbx"},
        {u"E:\\caf\u00e9", true, "/media/ann/USB/caf\xc3\xa9"},
        {u"Z:\\etc", true, "/etc"},
        {u"D:\\a", false, "drive D: of"},
        {u"C:\\..\\bob", false, "climbs out"},
        {u"C:\\a\\..\\b", false, "climbs out"},
        {u"C:\\.\\b", false, "climbs out"},
        {u"C:rel", false, "does not start with a drive letter"},
        {u"\\\\server\\share\\a", false, "does not start with a drive letter"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.native_or_reason);
        const Converted r = map_engine_to_native(map, c.engine);
        EXPECT_EQ(r.ok, c.ok);
        if (c.ok) {
            EXPECT_EQ(r.native, c.native_or_reason);
        } else {
            EXPECT_NE(r.message.find(c.native_or_reason), std::string::npos) << r.message;
        }
    }
    EXPECT_EQ(engine_path_error(map, u"D:\\a"), err::path_not_found);
    EXPECT_EQ(engine_path_error(map, u"C:\\..\\a"), err::bad_pathname);
    EXPECT_EQ(engine_path_error(map, u"C:a"), err::invalid_name);
}

TEST(VolumeMap, NativeToEngineTakesTheDeepestVolume) {
    const VolumeMap map =
        parse_volume_map("C=/home/ann,E=/home/ann/mnt/usb:removable,F=/srv");
    const struct {
        const char* native;
        bool ok;
        const char16_t* engine;
        const char* reason;
    } cases[] = {
        {"/home/ann/Docs/a.txt", true, u"C:\\Docs\\a.txt", ""},
        {"/home/ann", true, u"C:\\", ""},
        {"/home/ann/mnt/usb/x", true, u"E:\\x", ""},
        {"/home/annie/x", false, u"", "outside every volume"},
        {"/srv/../etc/passwd", false, u"", "outside every volume"},
        {"/srv/a\\b", false, u"", "backslash"},
        {"Docs/a.txt", true, u"C:\\Docs\\a.txt", ""},
        {"../../srv/x", true, u"F:\\x", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.native);
        const Converted r = map_native_to_engine(map, c.native, "/home/ann");
        EXPECT_EQ(r.ok, c.ok) << r.message;
        if (c.ok) {
            EXPECT_EQ(r.engine, c.engine);
        } else {
            EXPECT_NE(r.message.find(c.reason), std::string::npos) << r.message;
        }
    }
}
