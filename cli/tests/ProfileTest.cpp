#include <gtest/gtest.h>

#include "cli/Json.h"
#include "cli/Profile.h"

namespace cli {
namespace {

std::string ErrorOf(const std::string& text) {
  const ProfileParseResult r = ParseProfile(text);
  EXPECT_FALSE(r.ok) << text;
  EXPECT_TRUE(r.entries.empty());
  return r.error;
}

TEST(Json, ReadsValuesAndEscapes) {
  const json::ParseResult r = json::Parse(R"( {"a":[1,-2.5e1,true,false,null],"b":"x\"\\\/\n\u00e9\ud83d\ude00"} )");
  ASSERT_TRUE(r.ok) << r.error;
  const json::Value* a = r.value.Member("a");
  ASSERT_NE(a, nullptr);
  ASSERT_EQ(a->items.size(), 5u);
  EXPECT_EQ(a->items[1].number, -25);
  EXPECT_EQ(r.value.Member("b")->text, "x\"\\/\n\xC3\xA9\xF0\x9F\x98\x80");
}

TEST(Json, RefusesMalformedDocumentsWithPosition) {
  for (const char* bad : {"", "{", "{\"a\":}", "{\"a\":1,}", "[1 2]", "{\"a\":1}{", "{'a':1}", "{\"a\":01}",
                          "{\"a\":\"x", "{\"a\":\"\\q\"}", "{\"a\":\"\\ud800\"}", "{\"a\":1,\"a\":2}", "nul",
                          "{\"a\":\"tab\there\"}", "1e999"}) {
    const json::ParseResult r = json::Parse(bad);
    EXPECT_FALSE(r.ok) << bad;
    EXPECT_NE(r.error.find("line"), std::string::npos) << bad;
  }
  EXPECT_FALSE(json::Parse(std::string(100, '[') + std::string(100, ']')).ok);
}

TEST(Json, QuoteEscapesWhatMustBe) {
  EXPECT_EQ(json::Quote("a\"b\\c\n\x01"), "\"a\\\"b\\\\c\\n\\u0001\"");
  EXPECT_EQ(json::Parse(json::Quote("\\")).value.text, "\\");
}

TEST(Profile, WrittenFileReadsBackToTheSameEntries) {
  const std::vector<ProfileEntry> entries{{1, {0x01, 0x06, 0, 0}}, {2, {0x00, 49, 0, 0}}, {3, {0, 0, 0, 0}}};
  const std::string text = ProfileJson(entries);
  EXPECT_NE(text.find("{\"pedal\":1,\"keys\":\"Ctrl+C\",\"bytes\":\"01-06-00-00\"}"), std::string::npos) << text;
  const ProfileParseResult back = ParseProfile(text);
  ASSERT_TRUE(back.ok) << back.error;
  ASSERT_EQ(back.entries.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(back.entries[i].pedal, entries[i].pedal);
    EXPECT_EQ(back.entries[i].bytes, entries[i].bytes);
  }
}

TEST(Profile, KeysAloneBytesAloneOrBothAgreeing) {
  const ProfileParseResult r = ParseProfile(
      R"({"name":"mine","pedals":[{"pedal":3,"keys":"Alt+F4"},{"pedal":1,"bytes":"00-FF-00-00"},)"
      R"({"pedal":2,"keys":"Shift+Ctrl+A","bytes":"03-04-00-00"}]})");
  ASSERT_TRUE(r.ok) << r.error;
  ASSERT_EQ(r.entries.size(), 3u);
  EXPECT_EQ(r.entries[0].pedal, 3);
  EXPECT_EQ(r.entries[0].bytes, (PedalBytes{0x04, 61, 0, 0}));
  EXPECT_EQ(r.entries[1].bytes, (PedalBytes{0, 0xFF, 0, 0}));
  EXPECT_EQ(r.entries[2].bytes, (PedalBytes{0x03, 0x04, 0, 0}));
}

TEST(Profile, RefusesBadProfilesNamingTheProblem) {
  EXPECT_NE(ErrorOf("{\"pedals\":[").find("not valid JSON"), std::string::npos);
  EXPECT_NE(ErrorOf("[]").find("object"), std::string::npos);
  EXPECT_NE(ErrorOf("{\"pedal\":[]}").find("no \"pedals\""), std::string::npos);
  EXPECT_NE(ErrorOf("{\"pedals\":[]}").find("empty"), std::string::npos);
  EXPECT_NE(ErrorOf(R"({"pedals":[{"pedal":4,"keys":"A"}]})").find("1 to 3"), std::string::npos);
  EXPECT_NE(ErrorOf(R"({"pedals":[{"pedal":1.5,"keys":"A"}]})").find("1 to 3"), std::string::npos);
  EXPECT_NE(ErrorOf(R"({"pedals":[{"pedal":"1","keys":"A"}]})").find("1 to 3"), std::string::npos);
  EXPECT_NE(ErrorOf(R"({"pedals":[{"pedal":1,"keys":"A"},{"pedal":1,"keys":"B"}]})").find("pedal 1 appears twice"),
            std::string::npos);
  EXPECT_NE(ErrorOf(R"({"pedals":[{"pedal":1,"key":"A"}]})").find("unknown member \"key\""), std::string::npos);
  EXPECT_NE(ErrorOf(R"({"pedals":[{"pedal":1}]})").find("needs"), std::string::npos);
  EXPECT_NE(ErrorOf(R"({"pedals":[{"pedal":2,"keys":"ctrl+A"}]})").find("pedal 2: unknown key name \"ctrl\""),
            std::string::npos);
  EXPECT_NE(ErrorOf(R"({"pedals":[{"pedal":1,"bytes":"1-6-0-0"}]})").find("bad \"bytes\""), std::string::npos);
  EXPECT_NE(ErrorOf(R"({"pedals":[{"pedal":1,"keys":"Ctrl+V","bytes":"01-06-00-00"}]})").find("disagree"),
            std::string::npos);
  EXPECT_NE(ErrorOf(R"({"pedals":[{"pedal":1,"keys":7}]})").find("must be a string"), std::string::npos);
  EXPECT_NE(ErrorOf(R"({"pedals":[5]})").find("not an object"), std::string::npos);
}

}  // namespace
}  // namespace cli
