// What "regsvr32 /u HushboxExt.dll" (the fixture's cleanup) leaves: every key the registration
// owns is gone, the shared parents it only created when missing are still there.
#include "shellext_support.h"

#include "text.h"

#include <gtest/gtest.h>

using namespace hbx::test;
using hbx::to_utf8;

TEST(Unregistration, RemovesItsKeysAndKeepsTheSharedParents) {
    const HKEY cr = HKEY_CLASSES_ROOT;
    const HKEY lm = HKEY_LOCAL_MACHINE;
    const std::u16string overlays =
        u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ShellIconOverlayIdentifiers";
    const struct {
        HKEY root;
        std::u16string key;
    } gone[] = {
        {cr, u"CLSID\\{7C702D1D-5011-4D50-AB94-0E172E586AC4}"},
        {cr, u"CLSID\\{8801875D-AEFF-4D06-ADB1-57E80C84479A}"},
        {cr, u"CLSID\\{4932BDE6-1A91-413B-A19F-6C462731C3E9}"},
        {cr, u"CLSID\\{2F105B1A-66B0-4BF1-931B-4A8F1B243E35}"},
        {cr, u"*\\ShellEx\\ContextMenuHandlers\\ZenvorHushbox"},
        {cr, u"Folder\\ShellEx\\ContextMenuHandlers\\ZenvorHushbox"},
        {cr, u"Directory\\ShellEx\\ContextMenuHandlers\\ZenvorHushbox"},
        {lm, overlays + u"\\   ZenvorHushbox"},
        {cr, u"hbxfile"},
        {cr, u"hbxfolder"},
        {cr, u".hbxfile"},
        {cr, u".hbxfolder"},
        {cr, u"TypeLib\\{350750B7-9871-4C29-A1C8-B3EC1E66DAA4}"},
        {cr, u"Interface\\{794CEEB4-2B00-4835-8CDB-2688B19262DB}"},
        {cr, u"Interface\\{8ED1DFF3-BCD6-49F3-94BE-9D2897999EFB}"},
        {cr, u"Interface\\{8875B6CB-8DAF-4763-9D6A-ED938A433B40}"},
        {cr, u"Interface\\{F20CDB5D-63E8-4EC1-A136-C2071707626C}"},
        {cr, u"CLSID\\{F20CDB5D-63E8-4EC1-A136-C2071707626C}"},
    };
    for (const auto& g : gone) {
        SCOPED_TRACE(to_utf8(g.key));
        EXPECT_FALSE(registry_key_exists(g.root, g.key));
    }
    const struct {
        HKEY root;
        std::u16string key;
    } kept[] = {
        {cr, u"CLSID"},
        {cr, u"*\\ShellEx\\ContextMenuHandlers"},
        {cr, u"Folder\\ShellEx\\ContextMenuHandlers"},
        {cr, u"Directory\\ShellEx\\ContextMenuHandlers"},
        {lm, overlays},
    };
    for (const auto& k : kept) {
        SCOPED_TRACE(to_utf8(k.key));
        EXPECT_TRUE(registry_key_exists(k.root, k.key));
    }
}
