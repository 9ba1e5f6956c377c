#include <gtest/gtest.h>

#include <optional>

#include "cli/CliOptions.h"

namespace cli {
namespace {

OptionsResult Parse(std::vector<std::string> args) { return ParseOptions(args); }

TEST(Options, ReadsEachCommandsOptions) {
  OptionsResult r = Parse({"read", "--serial", "VK0002", "--count=2", "--json", "--timeout", "500"});
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.options.serial, "VK0002");
  EXPECT_EQ(r.options.count, 2);
  EXPECT_TRUE(r.options.json);
  EXPECT_EQ(r.options.timeoutMs, 500);

  r = Parse({"write", "--pedal", "2", "Ctrl+Shift+A", "--verify"});
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.options.pedal, 2);
  EXPECT_EQ(r.options.keys, "Ctrl+Shift+A");
  EXPECT_TRUE(r.options.verify);

  r = Parse({"write", "--pedal", "1", ""});
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.options.keys, "");

  r = Parse({"watch"});
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.options.count, 1);
  EXPECT_EQ(r.options.timeoutMs, 60000);
}

TEST(Options, RefusesWhatDoesNotFit) {
  const std::vector<std::vector<std::string>> bad{
      {},
      {"frobnicate"},
      {"read", "--count", "4"},
      {"read", "--count", "0"},
      {"read", "--count", "2x"},
      {"read", "--timeout", "-1"},
      {"read", "--serial"},
      {"read", "--pedal", "1"},
      {"read", "extra"},
      {"read", "--serial", "A", "--path", "B"},
      {"list", "--json"},
      {"write", "Ctrl+A"},
      {"write", "--pedal", "0", "A"},
      {"write", "--pedal", "4", "A"},
      {"write", "--pedal", "1"},
      {"write", "--pedal", "1", "A", "B"},
      {"write", "--file", "p.json", "--pedal", "1"},
      {"write", "--json", "--pedal", "1", "A"},
      {"read", "--json=yes"},
  };
  for (const auto& args : bad) {
    const OptionsResult r = Parse(args);
    std::string joined;
    for (const auto& a : args) joined += a + " ";
    EXPECT_FALSE(r.ok) << joined;
    EXPECT_FALSE(r.error.empty()) << joined;
  }
}

// --lang is taken out wherever it stands before "--", and nowhere else.
TEST(Options, TakesTheLanguageOutOfTheArguments) {
  const struct {
    std::vector<std::string> args;
    std::optional<std::string> language;
    std::vector<std::string> left;  // what the command parser then sees
    bool error;
  } cases[] = {
      {{"--lang", "de", "list"}, "de", {"list"}, false},
      {{"read", "--lang=zh_CN", "--count", "2"}, "zh_CN", {"read", "--count", "2"}, false},
      {{"export", "--file", "--lang", "--lang", "C"}, "C", {"export", "--file", "--lang"}, false},
      {{"write", "--pedal", "1", "--", "--lang"}, std::nullopt, {"write", "--pedal", "1", "--", "--lang"}, false},
      {{"list"}, std::nullopt, {"list"}, false},
      {{"list", "--lang"}, std::nullopt, {}, true},
      {{"list", "--lang="}, std::nullopt, {}, true},
      {{"--lang", "--help"}, std::nullopt, {}, true},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = c.args;
    const LanguageOption taken = TakeLanguageOption(args);
    SCOPED_TRACE(c.args.size() > 1 ? c.args[1] : c.args[0]);
    EXPECT_EQ(!taken.error.empty(), c.error);
    if (c.error) continue;
    EXPECT_EQ(taken.language, c.language);
    EXPECT_EQ(args, c.left);
  }
}

TEST(Options, HelpWinsAndDocumentsExitCodesAndPedalNumbers) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"read", "--bogus", "--help"}, {"help"}, {"-h"}, {"read", "-h"}, {"read", "--serial=-h", "-h"}}) {
    EXPECT_EQ(Parse(args).options.command, "help") << args.back();
  }
  // As an option's value or after "--", -h is text.
  OptionsResult r = Parse({"read", "--serial", "-h"});
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.options.serial, "-h");
  r = Parse({"write", "--pedal", "1", "--", "-h"});
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.options.keys, "-h");
  EXPECT_NE(Parse({"frobnicate"}).error.find("watch"), std::string::npos);

  const std::string help = HelpText();
  for (int code = 0; code <= 8; ++code) {
    EXPECT_NE(help.find("\n  " + std::to_string(code) + "  "), std::string::npos) << code;
  }
  EXPECT_NE(help.find("pedal numbers start at 1"), std::string::npos);
  EXPECT_NE(help.find("sudo scripts/install-udev-rule"), std::string::npos);
  for (const char* command : {"list", "read", "write", "export", "watch"}) {
    EXPECT_NE(help.find(std::string("varnok-pedal ") + command), std::string::npos) << command;
  }
}

}  // namespace
}  // namespace cli
