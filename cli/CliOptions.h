// Command line of varnok-pedal: the command, its options, and the help text.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace cli {

struct CliOptions {
  std::string command;  // list, read, write, export, watch, help
  std::optional<std::string> serial;
  std::optional<std::string> path;
  std::optional<std::string> file;
  std::optional<std::string> keys;  // the positional key text of write
  std::optional<std::string> layout;  // read/write: name keys in this layout
  int count = 3;                    // read/export: pedals; watch: events
  bool countGiven = false;
  int pedal = 0;                    // 1-based, 0 = not given
  int timeoutMs = 2000;
  bool timeoutGiven = false;
  bool json = false;
  bool verify = false;
  bool help = false;
};

struct OptionsResult {
  bool ok = false;
  CliOptions options;
  std::string error;
};

OptionsResult ParseOptions(const std::vector<std::string>& args);

// --lang L (or --lang=L), which every command takes, anywhere before "--":
// taken out of `args` before the rest is parsed, as the language must be
// chosen before any message is made.
struct LanguageOption {
  std::optional<std::string> language;
  std::string error;  // in English: no language is chosen yet
};
LanguageOption TakeLanguageOption(std::vector<std::string>& args);

std::string HelpText();

}  // namespace cli
