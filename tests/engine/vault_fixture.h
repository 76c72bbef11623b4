// What the tests of the operations that move items share: fresh volumes, the service, and
// the places of the folder D:\Users\ann\ in the vault.
#pragma once

#include "lock_service.h"
#include "paths.h"
#include "text.h"
#include "vault.h"

#include "test_volumes.h"

#include <gtest/gtest.h>

namespace hbx::test {

class VaultTest : public ::testing::Test {
protected:
    TestVolumes volumes;
    LockService& service = LockService::instance();
    const std::u16string ann = TestVolumes::at(u'D', u"Users\\ann\\");
    // The item folder of D:\Users\ann\, without trailing backslash.
    const std::u16string ann_folder = item_folder(u"D:", u"\\Users\\ann\\");

    void SetUp() override { make_folders(ann); }

    LockError error() {
        LockError e;
        service.last_error(e);
        return e;
    }

    // Writes a file and locks it (or hides it), failing the test when that does not work.
    void put_away(const std::u16string& path, int type, const std::string& bytes = "item") {
        write_file(path, bytes);
        ASSERT_TRUE(service.lock(path, type)) << to_utf8(path) << " " << error().code;
    }
};

}  // namespace hbx::test
