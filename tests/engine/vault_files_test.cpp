// The vault's own files byte for byte: the options file, the lock list and the source record,
// their writers and their tolerant readers.
#include "json_text.h"
#include "lock_list.h"
#include "options.h"
#include "source_record.h"
#include "text.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace hbx;

namespace {

using Pending = std::vector<std::pair<std::u16string, int>>;

Pending pending_of(const Options& options) {
    Pending list;
    for (const auto& [key, type] : options.pending) list.emplace_back(key, type);
    return list;
}

}  // namespace

TEST(JsonText, StringsAreEscapedAsTheFilesWriteThem) {
    const struct {
        std::string text;
        std::string json;
    } cases[] = {
        {"plain text 123", "\"plain text 123\""},
        {"say \"hi\"", "\"say \\\"hi\\\"\""},
        {"\\Users\\ann\\", "\"\\\\Users\\\\ann\\\\\""},
        {"a/b", "\"a\\/b\""},
        {"\b\t\n\f\r", "\"\\b\\t\\n\\f\\r\""},
        {std::string("\x00\x01\x1f", 3), "\"\\u0000\\u0001\\u001F\""},
        {"\x7f", "\"\x7f\""},
        {"caf\xc3\xa9 \xe6\xbc\xa2 \xf0\x9f\x94\x92", "\"caf\xc3\xa9 \xe6\xbc\xa2 \xf0\x9f\x94\x92\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.json);
        EXPECT_EQ(json_string(c.text), c.json);
    }
}

TEST(OptionsFile, WithoutPendingEntriesPendingIsTheEmptyString) {
    Options options = Options::create(u"C:\\...\\hbx\\options.cfg");
    options.password = u"2C0D7EE4567F7E08BFD9175B516A183C";
    const std::string bytes = options_json(options);
    EXPECT_EQ(bytes,
              "{\n"
              "    \"user\": {\n"
              "        \"password\": \"2C0D7EE4567F7E08BFD9175B516A183C\",\n"
              "        \"machine\": \"\"\n"
              "    },\n"
              "    \"pending\": \"\"\n"
              "}\n");
    Options back;
    ASSERT_TRUE(parse_options(bytes, back));
    EXPECT_EQ(back.password, options.password);
    EXPECT_TRUE(back.pending.empty());
}

TEST(OptionsFile, PendingEntriesInCodeUnitOrderEveryValueAString) {
    Options options;
    options.password = u"2C0D7EE4567F7E08BFD9175B516A183C";
    options.machine = u"pc/1";
    options.add_pending(u"\\Users\\ann\\b.txt", LOCK_TYPE_HIDE);
    options.add_pending(u"\\Users\\Ann\\caf\u00e9", LOCK_TYPE_LOCK);   // "A" sorts before "a"
    EXPECT_FALSE(options.add_pending(u"\\Users\\ann\\b.txt", LOCK_TYPE_LOCK));   // first stays
    const std::string bytes = options_json(options);
    EXPECT_EQ(bytes,
              "{\n"
              "    \"user\": {\n"
              "        \"password\": \"2C0D7EE4567F7E08BFD9175B516A183C\",\n"
              "        \"machine\": \"pc\\/1\"\n"
              "    },\n"
              "    \"pending\": [\n"
              "        {\n"
              "            \"path\": \"\\\\Users\\\\Ann\\\\caf\xc3\xa9\",\n"
              "            \"type\": \"0\"\n"
              "        },\n"
              "        {\n"
              "            \"path\": \"\\\\Users\\\\ann\\\\b.txt\",\n"
              "            \"type\": \"1\"\n"
              "        }\n"
              "    ]\n"
              "}\n");
    Options back;
    ASSERT_TRUE(parse_options(bytes, back));
    EXPECT_EQ(back.machine, u"pc/1");
    EXPECT_EQ(pending_of(back), pending_of(options));
}

TEST(OptionsFile, TheReaderAcceptsAnyLayoutAndRefusesIncompleteFiles) {
    const struct {
        const char* name;
        std::string json;
        bool loads;
        std::u16string password;   // as read, also when the load fails later
        std::u16string machine;
        Pending pending;
    } cases[] = {
        {"compact", R"({"user":{"password":"AB","machine":""},"pending":""})", true, u"AB", u"", {}},
        {"members in another order",
         "{ \"pending\" : [ ] ,\n\t\"user\" : { \"machine\" : \"m\" , \"password\" : \"AB\" } }",
         true, u"AB", u"m", {}},
        {"type as a number",
         R"({"user":{"password":"AB","machine":""},"pending":[{"path":"\\a","type":1}]})", true,
         u"AB", u"", {{u"\\a", 1}}},
        {"type as a string",
         R"({"user":{"password":"AB","machine":""},"pending":[{"type":"0","path":"\\a"}]})", true,
         u"AB", u"", {{u"\\a", 0}}},
        {"pending as an object",
         R"({"user":{"password":"AB","machine":""},"pending":{"x":{"path":"\\b","type":0},"y":{"path":"\\a","type":"1"}}})",
         true, u"AB", u"", {{u"\\a", 1}, {u"\\b", 0}}},
        {"a repeated path keeps its first type",
         R"({"user":{"password":"AB","machine":""},"pending":[{"path":"\\a","type":1},{"path":"\\a","type":0}]})",
         true, u"AB", u"", {{u"\\a", 1}}},
        {"escapes are undone",
         R"({"user":{"password":"A\/B","machine":"caf\u00e9"},"pending":[{"path":"\/a\\b","type":0}]})",
         true, u"A/B", u"caf\u00e9", {{u"/a\\b", 0}}},
        {"without machine", R"({"user":{"password":"AB"},"pending":""})", false, u"AB", u"", {}},
        {"without password", R"({"user":{"machine":""},"pending":""})", false, u"", u"", {}},
        {"without user", R"({"pending":""})", false, u"", u"", {}},
        {"without pending", R"({"user":{"password":"AB","machine":"m"}})", false, u"AB", u"m", {}},
        {"an entry without path keeps the entries before it",
         R"({"user":{"password":"AB","machine":""},"pending":[{"path":"\\a","type":0},{"type":0}]})",
         false, u"AB", u"", {{u"\\a", 0}}},
        {"type not an integer",
         R"({"user":{"password":"AB","machine":""},"pending":[{"path":"\\a","type":"x"}]})", false,
         u"AB", u"", {}},
        {"type a fraction",
         R"({"user":{"password":"AB","machine":""},"pending":[{"path":"\\a","type":1.5}]})", false,
         u"AB", u"", {}},
        {"type true",
         R"({"user":{"password":"AB","machine":""},"pending":[{"path":"\\a","type":true}]})", false,
         u"AB", u"", {}},
        {"no JSON", "{\"user\": {", false, u"", u"", {}},
        {"empty", "", false, u"", u"", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Options options;
        options.password = u"stale";
        options.add_pending(u"\\stale", LOCK_TYPE_LOCK);
        EXPECT_EQ(parse_options(c.json, options), c.loads);
        EXPECT_EQ(options.password, c.password);
        EXPECT_EQ(options.machine, c.machine);
        EXPECT_EQ(pending_of(options), c.pending);
    }
}

TEST(LockListFile, WriterGivesTheLayoutInKeyOrder) {
    EXPECT_EQ(lock_list_json({}), "{\n    \"hash_path\": \"\"\n}\n");
    LockList list;
    EXPECT_EQ(list.add(u"\\Users\\ann\\"), u"3C51012B1D0BBBE73FC0A809A58198F9");
    EXPECT_EQ(list.add(u"\\d\\"), u"225F61E608AC73986385ABEAF53688AF");
    EXPECT_EQ(lock_list_json(list.entries),
              "{\n"
              "    \"hash_path\": {\n"
              "        \"225F61E608AC73986385ABEAF53688AF\": \"\\\\d\\\\\",\n"
              "        \"3C51012B1D0BBBE73FC0A809A58198F9\": \"\\\\Users\\\\ann\\\\\"\n"
              "    }\n"
              "}\n");
    EXPECT_EQ(list.lookup(u"225F61E608AC73986385ABEAF53688AF"), u"\\d\\");
    EXPECT_EQ(list.lookup(u"00000000000000000000000000000000"), u"");
}

TEST(LockListFile, AnExistingEntryKeepsItsDirectoryPart) {
    // Both directory parts hash alike; the first one stays in the list.
    LockList list;
    const std::u16string hash = list.add(u"\\Users\\ann\\docs\\");
    EXPECT_EQ(list.add(u"\\Users\\ann\\pics\\"), hash);
    EXPECT_EQ(list.entries.size(), 1u);
    EXPECT_EQ(list.lookup(hash), u"\\Users\\ann\\docs\\");
}

TEST(LockListFile, TheReaderTurnsSlashesInValuesAndAcceptsAnyLayout) {
    using Entries = std::map<std::u16string, std::u16string>;
    const struct {
        const char* name;
        std::string json;
        bool loads;
        Entries entries;
    } cases[] = {
        {"empty string", "{\"hash_path\": \"\"}", true, {}},
        {"slashes in values, not in keys", R"({"hash_path":{"A/B":"/Users/ann/","C":"\\d\/e\\"}})",
         true, {{u"A/B", u"\\Users\\ann\\"}, {u"C", u"\\d\\e\\"}}},
        {"a repeated key keeps its first value", R"({"hash_path":{"A":"\\x\\","A":"\\y\\"}})", true,
         {{u"A", u"\\x\\"}}},
        {"other members are ignored", R"({"other":1,"hash_path":{"A":"\\x\\"}})", true,
         {{u"A", u"\\x\\"}}},
        {"without hash_path", R"({"hash":{"A":"\\x\\"}})", false, {}},
        {"no JSON", "hash_path", false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Entries entries{{u"stale", u"\\stale\\"}};
        EXPECT_EQ(parse_lock_list(c.json, entries), c.loads);
        EXPECT_EQ(entries, c.entries);
    }
}

TEST(SourceRecordFile, NamesEachItemOfAFolderAndReadsBack) {
    SourceRecord record;
    EXPECT_TRUE(record.set(u"3F92B9032FD3733936F55BECC26EF2D1", u"b.txt", u"\\Users\\ann\\pics\\"));
    EXPECT_FALSE(record.set(u"3F92B9032FD3733936F55BECC26EF2D1", u"b.txt", u"\\Users\\ann\\pics\\"));
    EXPECT_TRUE(record.set(u"3F92B9032FD3733936F55BECC26EF2D1", u"a.b", u"\\Users\\ann\\pics\\"));
    EXPECT_TRUE(record.set(u"225F61E608AC73986385ABEAF53688AF", u"x", u"\\d\\"));
    const std::string bytes = source_record_json(record.sources);
    EXPECT_EQ(bytes,
              "{\n"
              "    \"sources\": {\n"
              "        \"225F61E608AC73986385ABEAF53688AF\": {\n"
              "            \"x\": \"\\\\d\\\\\"\n"
              "        },\n"
              "        \"3F92B9032FD3733936F55BECC26EF2D1\": {\n"
              "            \"a.b\": \"\\\\Users\\\\ann\\\\pics\\\\\",\n"
              "            \"b.txt\": \"\\\\Users\\\\ann\\\\pics\\\\\"\n"
              "        }\n"
              "    }\n"
              "}\n");
    SourceRecord back;
    ASSERT_TRUE(parse_source_record(bytes, back.sources));
    EXPECT_EQ(back.sources, record.sources);
    EXPECT_EQ(back.lookup(u"3F92B9032FD3733936F55BECC26EF2D1", u"a.b"), u"\\Users\\ann\\pics\\");
    EXPECT_TRUE(back.remove(u"225F61E608AC73986385ABEAF53688AF", u"x"));
    EXPECT_FALSE(back.remove(u"225F61E608AC73986385ABEAF53688AF", u"x"));
    EXPECT_EQ(back.sources.count(u"225F61E608AC73986385ABEAF53688AF"), 0u);
}
