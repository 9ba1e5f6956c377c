// UTF-8 encoding of text the device layer hands over, and file names.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace cli {

// UTF-16 text to UTF-8; unpaired surrogates become U+FFFD.
std::string Utf8(const std::u16string& text);

// A file name given in UTF-8 (an argument) as a path: the same bytes on
// Linux, the same characters on Windows.
std::filesystem::path PathFromUtf8(const std::string& name);

}  // namespace cli
