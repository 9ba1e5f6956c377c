// varnok-pedal: the pedal setup on the command line, over the Linux binding.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "cli/ChosenLanguage.h"
#include "cli/CliCommands.h"
#include "cli/ExitCodes.h"
#include "cli/FileStreamBuf.h"
#include "hid/platform/linux/LinuxHidBackend.h"
#include "keys/layout/XkbLayout.h"

namespace {

// "de" or "de(nodeadkeys)": an xkb layout with an optional variant.
std::optional<keys::KeyNaming> XkbNaming(const std::string& name) {
  std::string layout = name;
  std::string variant;
  if (const auto open = name.find('('); open != std::string::npos && name.back() == ')') {
    layout = name.substr(0, open);
    variant = name.substr(open + 1, name.size() - open - 2);
  }
  const auto keymap = keys::XkbLayout::FromName(layout, variant);
  if (!keymap) return std::nullopt;
  return keys::KeyNaming(*keymap);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  const cli::ChosenLanguage language(args);
  if (!language.Error().empty()) {
    std::cerr << "error: " << language.Error() << "\n";
    return cli::kExitUsage;
  }
  hid::platform::linux_::LinuxHidBackend backend;
  cli::FileStreamBuf stdoutBuf(stdout);
  std::ostream out(&stdoutBuf);
  return cli::RunCli(args, backend, out, std::cerr, {}, XkbNaming);
}
