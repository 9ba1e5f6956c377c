#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/Profile.h"

namespace cli {
namespace {

TEST(Profile, WrittenFileReadsBackToTheSameEntries) {
  const std::vector<ProfileEntry> entries{{1, {0x01, 0x06, 0, 0}}, {2, {0x00, 49, 0, 0}}, {3, {0, 0, 0, 0}}};
  const std::string text = ProfileJson(entries, "VK0001");
  EXPECT_EQ(text,
            "{\n  \"serial\": \"VK0001\",\n  \"pedals\": [\n"
            "    {\"pedal\":1,\"keys\":\"Ctrl+C\",\"bytes\":\"01-06-00-00\"},\n"
            "    {\"pedal\":2,\"keys\":\"\\\\\",\"bytes\":\"00-31-00-00\"},\n"
            "    {\"pedal\":3,\"keys\":\"\",\"bytes\":\"00-00-00-00\"}\n  ]\n}\n");
  const ProfileParseResult back = ParseProfile(text);
  ASSERT_TRUE(back.ok) << back.error;
  EXPECT_EQ(back.serial, "VK0001");
  ASSERT_EQ(back.entries.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(back.entries[i].pedal, entries[i].pedal);
    EXPECT_EQ(back.entries[i].bytes, entries[i].bytes);
  }
}

TEST(Profile, KeysAloneBytesAloneOrBothAgreeing) {
  // A byte-order mark, as some editors save, and members the reader ignores.
  const ProfileParseResult r = ParseProfile(
      "\xEF\xBB\xBF"
      R"({"name":"mine","x":[{"y":null}],"pedals":[{"pedal":3,"keys":"Alt+F4"},{"pedal":1,"bytes":"00-FF-00-00"},)"
      R"({"pedal":2.0,"keys":"Shift+Ctrl+A","bytes":"03-04-00-00"}]})");
  ASSERT_TRUE(r.ok) << r.error;
  ASSERT_EQ(r.entries.size(), 3u);
  EXPECT_EQ(r.entries[0].pedal, 3);
  EXPECT_EQ(r.entries[0].bytes, (PedalBytes{0x04, 61, 0, 0}));
  EXPECT_EQ(r.entries[1].bytes, (PedalBytes{0, 0xFF, 0, 0}));
  EXPECT_EQ(r.entries[2].pedal, 2);
  EXPECT_EQ(r.entries[2].bytes, (PedalBytes{0x03, 0x04, 0, 0}));
}

struct BadProfile {
  std::string text;
  std::string error;  // a part of the message
};

TEST(Profile, RefusesBadProfilesNamingTheProblem) {
  const std::vector<BadProfile> cases{
      {"", "line 1: not valid JSON: syntax error"},
      {"{\"pedals\":[\n  {\"pedal\":1,}", "line 2: not valid JSON: syntax error while parsing object key"},
      {"{'a':1}", "not valid JSON"},
      {"{\"a\":01}", "not valid JSON"},
      {"{\"a\":\"tab\there\"}", "not valid JSON"},
      {"{\"a\":\"\\ud800\"}", "not valid JSON"},
      {"{\"a\":\"\xFF\"}", "not valid JSON"},
      {"{\"a\":1e999}", "not valid JSON"},
      {"{\"a\":1}{", "not valid JSON"},
      {"{\"pedals\":[{\"pedal\":1,\"keys\":\"A\"}],\"pedals\":[]}", "member \"pedals\" given twice"},
      {"{\"pedals\":[{\"pedal\":1,\"keys\":\"A\",\"keys\":\"B\"}]}", "member \"keys\" given twice"},
      {std::string(40, '[') + std::string(40, ']'), "nested deeper than 32 levels"},
      {"{\"pedals\":[{\"pedal\":1,\"keys\":\"A\"}],\"x\":" + std::string(100000, '[') + "}", "not valid JSON"},
      {"[]", "object"},
      {"{\"pedal\":[]}", "no \"pedals\""},
      {"{\"pedals\":[]}", "empty"},
      {R"({"pedals":[{"pedal":4,"keys":"A"}]})", "1 to 3"},
      {R"({"pedals":[{"pedal":1.5,"keys":"A"}]})", "1 to 3"},
      {R"({"pedals":[{"pedal":"1","keys":"A"}]})", "1 to 3"},
      {R"({"pedals":[{"pedal":1,"keys":"A"},{"pedal":1,"keys":"B"}]})", "pedal 1 appears twice"},
      {R"({"pedals":[{"pedal":1,"key":"A"}]})", "unknown member \"key\""},
      {R"({"pedals":[{"pedal":1}]})", "needs"},
      {R"({"pedals":[{"pedal":2,"keys":"ctrl+A"}]})", "pedal 2: unknown key name \"ctrl\""},
      {R"({"pedals":[{"pedal":1,"bytes":"1-6-0-0"}]})", "bad \"bytes\""},
      {R"({"pedals":[{"pedal":1,"keys":"Ctrl+V","bytes":"01-06-00-00"}]})", "disagree"},
      {R"({"pedals":[{"pedal":1,"keys":7}]})", "must be a string"},
      {R"({"pedals":[5]})", "not an object"},
      {R"({"serial":7,"pedals":[{"pedal":1,"keys":"A"}]})", "\"serial\" must be a string"},
  };
  for (const BadProfile& c : cases) {
    const ProfileParseResult r = ParseProfile(c.text);
    const std::string shown = c.text.substr(0, 80);
    EXPECT_FALSE(r.ok) << shown;
    EXPECT_TRUE(r.entries.empty()) << shown;
    EXPECT_NE(r.error.find(c.error), std::string::npos) << shown << "\n  gave: " << r.error;
  }
}

// Errors with a place name its line; the window's rule also refuses key
// codes outside the key table, by name.
TEST(Profile, RefusalsNameTheLineAndTheKey) {
  struct Case {
    std::string text;
    KeySlotRule rule;
    int line;
    std::string error;
  };
  const std::string start = "{\n  \"serial\": \"VK0001\",\n  \"pedals\": [\n    {\"pedal\":1,\"keys\":\"A\"},\n";
  const std::vector<Case> cases{
      {start + "    {\"pedal\":2,\"keys\":\"Hyper\"}\n  ]\n}\n", KeySlotRule::AnyCode, 5,
       "line 5: pedal 2: unknown key name \"Hyper\""},
      {start + "    {\"pedal\":2,\"bytes\":\"00-68-00-00\"}\n  ]\n}\n", KeySlotRule::KeyTableOnly, 5,
       "line 5: pedal 2: key \"Key 0x68\" cannot be given to the pedal"},
      {start + "    7,\n    {\"pedal\":1,\"keys\":\"A\"}]}", KeySlotRule::AnyCode, 5, "line 5: entry 2"},
      {start + "\n\n    {\"pedal\":3,\"keys\":\"Shift+Key 0xE8\"}\n]}", KeySlotRule::KeyTableOnly, 7,
       "line 7: pedal 3: key \"Key 0xE8\""},
      {start + "    {\"pedal\":2,\"keys\":\"B\",\n     \"keys\":\"C\"}]}", KeySlotRule::AnyCode, 6,
       "line 6: not valid JSON: member \"keys\" given twice"},
      {start + "    {\"pedal\":2,\"keys\":\"B\"\n    \"bytes\":\"00-05-00-00\"}]}", KeySlotRule::AnyCode, 6,
       "line 6: not valid JSON: syntax error"},
      {"{\n\"serial\":\n[1],\"pedals\":[{\"pedal\":1,\"keys\":\"A\"}]}", KeySlotRule::AnyCode, 2, "line 2: \"serial\""},
  };
  for (const Case& c : cases) {
    const ProfileParseResult r = ParseProfile(c.text, c.rule);
    EXPECT_FALSE(r.ok) << c.text;
    EXPECT_EQ(r.line, c.line) << c.text << "\n  gave: " << r.error;
    EXPECT_EQ(r.error.rfind(c.error, 0), 0u) << c.text << "\n  gave: " << r.error;
  }
  // What the window refuses, the command line takes: it parses back what a read-out showed.
  const ProfileParseResult any = ParseProfile(cases[1].text, KeySlotRule::AnyCode);
  ASSERT_TRUE(any.ok) << any.error;
  EXPECT_EQ(any.entries[1].line, 5);
  EXPECT_EQ(any.entries[1].bytes, (PedalBytes{0, 0x68, 0, 0}));
  EXPECT_TRUE(ParseProfile(R"({"pedals":[{"pedal":1,"bytes":"00-FF-04-00"}]})", KeySlotRule::KeyTableOnly).ok);
}

TEST(Profile, JsonQuoteEscapesWhatMustBeAndKeepsTheTextValid) {
  EXPECT_EQ(JsonQuote("a\"b\\c\n\x01"), "\"a\\\"b\\\\c\\n\\u0001\"");
  EXPECT_EQ(JsonQuote("caf\xC3\xA9"), "\"caf\xC3\xA9\"");
  EXPECT_EQ(JsonQuote("bad\xFF"), "\"bad\xEF\xBF\xBD\"");  // U+FFFD
}

}  // namespace
}  // namespace cli
