#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>

#include "cli/Messages.h"

namespace cli {
namespace {

TEST(Messages, FillReplacesEachPlaceholderOnce) {
  const struct {
    const char* text;
    std::initializer_list<std::string> args;
    const char* filled;
  } cases[] = {
      {"pedal %1: %2", {"2", "Ctrl+A"}, "pedal 2: Ctrl+A"},
      {"%2 before %1", {"a", "b"}, "b before a"},
      {"%1 and %1", {"x"}, "x and x"},
      {"arg %1", {"holds %2 and %1"}, "arg holds %2 and %1"},  // arguments are not filled again
      {"%1 of %2", {"1"}, "1 of %2"},                          // no argument: stays
      {"100% sure, %", {}, "100% sure, %"},
      {"%0 %a", {"x"}, "%0 %a"},
  };
  for (const auto& c : cases) EXPECT_EQ(Fill(c.text, c.args), c.filled) << c.text;
}

TEST(Messages, TranslatorSetOrNotTheTextIsNeverEmpty) {
  EXPECT_EQ(translate("varnok-pedal", "done"), "done");
  EXPECT_EQ(MessageLanguage(), "");
  const std::map<std::pair<std::string, std::string>, std::string> de{{{"varnok-pedal", "done"}, "fertig"}};
  SetMessageTranslator(
      [&de](const char* context, const char* source) {
        const auto it = de.find({context, source});
        return it == de.end() ? std::string() : it->second;
      },
      "de");
  EXPECT_EQ(translate("varnok-pedal", "done"), "fertig");
  EXPECT_EQ(translate("Profile", "done"), "done");  // another context
  EXPECT_EQ(translate("varnok-pedal", "verified"), "verified");
  EXPECT_EQ(MessageLanguage(), "de");
  SetMessageTranslator(nullptr, "de");
  EXPECT_EQ(translate("varnok-pedal", "done"), "done");
  EXPECT_EQ(MessageLanguage(), "");
}

}  // namespace
}  // namespace cli
