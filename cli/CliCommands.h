// varnok-pedal's commands over any platform binding (the real one in the
// program, the virtual bus in tests). Returns the exit code (ExitCodes.h).
#pragma once

#include <functional>
#include <iostream>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/PlatformTexts.h"
#include "hid/platform/HidPlatform.h"
#include "keys/KeyNaming.h"

namespace cli {

// The key names of the keyboard layout given to --layout; nothing when the
// platform has no such layout.
using LayoutLookup = std::function<std::optional<keys::KeyNaming>(const std::string&)>;

// `args` are the arguments after the program name. Without `layouts`,
// --layout is refused. `in` is what `--file -` reads. A failed write to `out`
// gives kExitWriteFailed, the reason on `err`.
int RunCli(const std::vector<std::string>& args, hid::platform::Backend& backend, std::ostream& out,
           std::ostream& err, const PlatformTexts& texts = {}, const LayoutLookup& layouts = {},
           std::istream& in = std::cin);

}  // namespace cli
