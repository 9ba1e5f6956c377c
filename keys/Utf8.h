// UTF-8 encoding of one code point, for key names and the text the
// command line prints.
#pragma once

#include <string>

namespace keys {

// Appends `c` (at most 0x10FFFF) to `out` as UTF-8.
void AppendUtf8(std::string& out, char32_t c);

}  // namespace keys
