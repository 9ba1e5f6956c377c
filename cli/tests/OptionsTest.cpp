#include <gtest/gtest.h>

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
