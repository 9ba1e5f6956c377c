#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/Profile.h"

namespace cli {
namespace {

TEST(Profile, WrittenFileReadsBackToTheSameEntries) {
  const std::vector<ProfileEntry> entries{{1, {0x01, 0x06, 0, 0}}, {2, {0x00, 49, 0, 0}}, {3, {0, 0, 0, 0}}};
  const std::string text = ProfileJson(entries);
  EXPECT_EQ(text,
            "{\n  \"pedals\": [\n"
            "    {\"pedal\":1,\"keys\":\"Ctrl+C\",\"bytes\":\"01-06-00-00\"},\n"
            "    {\"pedal\":2,\"keys\":\"\\\\\",\"bytes\":\"00-31-00-00\"},\n"
            "    {\"pedal\":3,\"keys\":\"\",\"bytes\":\"00-00-00-00\"}\n  ]\n}\n");
  const ProfileParseResult back = ParseProfile(text);
  ASSERT_TRUE(back.ok) << back.error;
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
      {"", "not valid JSON: parse error at line 1, column 1"},
      {"{\"pedals\":[\n  {\"pedal\":1,}", "not valid JSON: parse error at line 2, column 14"},
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
  };
  for (const BadProfile& c : cases) {
    const ProfileParseResult r = ParseProfile(c.text);
    const std::string shown = c.text.substr(0, 80);
    EXPECT_FALSE(r.ok) << shown;
    EXPECT_TRUE(r.entries.empty()) << shown;
    EXPECT_NE(r.error.find(c.error), std::string::npos) << shown << "\n  gave: " << r.error;
  }
}

TEST(Profile, JsonQuoteEscapesWhatMustBeAndKeepsTheTextValid) {
  EXPECT_EQ(JsonQuote("a\"b\\c\n\x01"), "\"a\\\"b\\\\c\\n\\u0001\"");
  EXPECT_EQ(JsonQuote("caf\xC3\xA9"), "\"caf\xC3\xA9\"");
  EXPECT_EQ(JsonQuote("bad\xFF"), "\"bad\xEF\xBF\xBD\"");  // U+FFFD
}

}  // namespace
}  // namespace cli
