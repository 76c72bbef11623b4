// The password: lookup over the volumes, checks, setting it, and making sure a volume carries it.
#include "options.h"
#include "password.h"
#include "paths.h"
#include "text.h"
#include "vault.h"

#include "test_volumes.h"

#include <gtest/gtest.h>

using namespace hbx;
using hbx::test::TestVolumes;

namespace {

const std::string secret_hash = "2C0D7EE4567F7E08BFD9175B516A183C";   // hash_text("secret")

// Writes an options file in the vault of `volume`, creating the vault folders.
void write_options(const std::u16string& volume, const std::string& password,
                   const std::string& machine, const std::string& pending = "\"\"") {
    test::make_folders(vault_root(volume));
    test::write_file(options_file(volume), "{\"user\":{\"password\":\"" + password +
                                               "\",\"machine\":\"" + machine +
                                               "\"},\"pending\":" + pending + "}");
}

std::string options_bytes(const std::string& password, const std::string& pending_lines = "") {
    return "{\n    \"user\": {\n        \"password\": \"" + password +
           "\",\n        \"machine\": \"\"\n    },\n    \"pending\": " +
           (pending_lines.empty() ? "\"\"\n" : "[\n" + pending_lines + "    ]\n") + "}\n";
}

std::string hash_of(const char16_t* password) { return to_utf8(hash_text(password)); }

class Password : public ::testing::Test {
protected:
    TestVolumes volumes;
};

}  // namespace

TEST_F(Password, TheFirstPasswordWritesTheVaultOfDriveC) {
    EXPECT_FALSE(has_password());
    EXPECT_FALSE(check_password(u"secret"));
    ASSERT_TRUE(set_password(u"secret"));
    EXPECT_EQ(test::read_file(options_file(u"C:")), options_bytes(secret_hash));
    EXPECT_TRUE(test::looks_hidden(u"C:\\..."));
#ifdef _WIN32
    EXPECT_TRUE(test::looks_hidden(u"C:\\...\\hbx"));
#endif
    EXPECT_TRUE(has_password());
    EXPECT_EQ(to_utf8(stored_password_hash()), secret_hash);
    EXPECT_TRUE(check_password(u"secret"));
    EXPECT_FALSE(check_password(u"Secret"));
    EXPECT_FALSE(check_password(u""));
    // Only the first half of the UTF-16 bytes count: "secreX" has the same hash.
    EXPECT_TRUE(check_password(u"secreX"));
    for (const char16_t volume : {u'D', u'E'}) {
        EXPECT_FALSE(platform::exists(vault_parent(std::u16string(1, volume) + u":")));
    }
}

TEST_F(Password, LookupWalksTheVolumesInDriveOrderAndEachVolumeChecksItsOwn) {
    write_options(u"C:", hash_of(u"other"), "another machine");   // passed over by the lookup
    test::make_folders(vault_root(u"D:"));
    test::write_file(options_file(u"D:"), "{\"user\":{\"password\":\"" + hash_of(u"broken") +
                                              "\"},\"pending\":\"\"}");   // does not load
    std::string lower = hash_of(u"secret");
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    write_options(u"E:", lower, "");
    write_options(u"N:", hash_of(u"fourth"), "");

    EXPECT_EQ(to_utf8(stored_password_hash()), lower);
    EXPECT_TRUE(check_password(u"secret"));   // a lower-case stored hash is accepted
    EXPECT_FALSE(check_password(u"fourth"));
    const struct {
        const char16_t* volume;
        const char16_t* password;
        bool checks;
    } cases[] = {
        {u"C:", u"other", true},      // its own file, whatever its machine
        {u"C:", u"secret", false},
        {u"D:", u"secret", true},     // does not load: the lookup decides
        {u"D:", u"broken", false},
        {u"E:", u"secret", true},
        {u"N:", u"fourth", true},
        {u"N:", u"secret", false},
        {u"R:", u"secret", true},     // no options file at all
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(to_utf8(std::u16string(c.volume) + u" " + c.password));
        EXPECT_EQ(check_password_on_volume(c.volume, c.password), c.checks);
    }
}

TEST_F(Password, ChangingItRewritesEveryFileWithAnEmptyMachineAndKeepsPendingEntries) {
    write_options(u"C:", hash_of(u"old"), "", R"([{"path":"\\a.txt","type":1}])");
    write_options(u"D:", hash_of(u"old"), "another machine");
    write_options(u"E:", hash_of(u"old"), "");   // removable volumes take part as well
    const std::string foreign = test::read_file(options_file(u"D:"));

    ASSERT_TRUE(set_password(u"new"));
    EXPECT_EQ(test::read_file(options_file(u"C:")),
              options_bytes(hash_of(u"new"),
                            "        {\n            \"path\": \"\\\\a.txt\",\n"
                            "            \"type\": \"1\"\n        }\n"));
    EXPECT_EQ(test::read_file(options_file(u"D:")), foreign);
    EXPECT_EQ(test::read_file(options_file(u"E:")), options_bytes(hash_of(u"new")));
    EXPECT_TRUE(check_password(u"new"));
    EXPECT_TRUE(check_password_on_volume(u"E:", u"new"));
    EXPECT_TRUE(check_password_on_volume(u"D:", u"old"));
}

TEST_F(Password, TheFirstPasswordKeepsWhatCouldBeReadOfABrokenFileOnDriveC) {
    test::make_folders(vault_root(u"C:"));
    // The second entry has no type: the file does not load, its first entry was read.
    test::write_file(options_file(u"C:"), R"({"user":{"password":"","machine":""},)"
                                          R"("pending":[{"path":"\\a.txt","type":0},{"path":"\\b"}]})");
    ASSERT_TRUE(set_password(u"secret"));
    Options options = Options::create(options_file(u"C:"));
    ASSERT_TRUE(options.load());
    EXPECT_EQ(to_utf8(options.password), secret_hash);
    EXPECT_EQ(options.pending.size(), 1u);
}

TEST_F(Password, EnsureOptionsWritesOnlyAFileThatDoesNotLoad) {
    // Loads, with another password: left exactly as it is.
    write_options(u"C:", hash_of(u"other"), "");
    const std::string kept = test::read_file(options_file(u"C:"));
    EXPECT_TRUE(ensure_options(u"C:", u"secret"));
    EXPECT_EQ(test::read_file(options_file(u"C:")), kept);

    // No vault yet: the folders and a fresh file.
    EXPECT_TRUE(ensure_options(u"D:", u"secret"));
    EXPECT_EQ(test::read_file(options_file(u"D:")), options_bytes(secret_hash));

    // Does not load (a type that is no integer): replaced, with the entries read before.
    write_options(u"E:", "AB", "", R"([{"path":"\\x","type":"1"},{"path":"\\y","type":"?"}])");
    EXPECT_TRUE(ensure_options(u"E:\\", u"secret"));
    EXPECT_EQ(test::read_file(options_file(u"E:")),
              options_bytes(secret_hash, "        {\n            \"path\": \"\\\\x\",\n"
                                         "            \"type\": \"1\"\n        }\n"));
}
