// varnok-pedal's commands over any platform binding (the real one in the
// program, the virtual bus in tests). Returns the exit code (ExitCodes.h).
#pragma once

#include <iostream>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "cli/PlatformTexts.h"
#include "hid/platform/HidPlatform.h"

namespace cli {

// `args` are the arguments after the program name; `in` is what `--file -`
// reads. A failed write to `out` gives kExitWriteFailed, the reason on `err`.
int RunCli(const std::vector<std::string>& args, hid::platform::Backend& backend, std::ostream& out,
           std::ostream& err, const PlatformTexts& texts = {}, std::istream& in = std::cin);

}  // namespace cli
