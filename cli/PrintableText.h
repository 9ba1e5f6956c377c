// Device strings (product, serial, path) as they may be printed on a
// terminal: control characters (C0, DEL, C1) become \xNN / \u00NN, so a
// device cannot send escape sequences to the user's terminal.
#pragma once

#include <string>
#include <string_view>

namespace cli {

std::string PrintableText(std::string_view text);

}  // namespace cli
