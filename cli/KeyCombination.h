// Key combination text <-> the four assignment bytes of one pedal
// (modifier byte, key usage codes 1..3).
//
//   "Ctrl+Shift+A"  -> 03 04 00 00
//   "" or "none"    -> 00 00 00 00
//
// Names are those of the key table, exact and case-sensitive, joined by "+".
// Modifiers fold into the modifier byte; at most three other keys.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace cli {

using PedalBytes = std::array<std::uint8_t, 4>;

struct KeyParseResult {
  bool ok = false;
  PedalBytes bytes{};
  std::string error;  // names the bad part when !ok
};

KeyParseResult ParseKeyCombination(std::string_view text);

// "01-06-00-00" (two hex digits each, upper or lower case, "-" between).
bool ParseBytesText(std::string_view text, PedalBytes& out);
std::string BytesText(const PedalBytes& bytes);

// Display text the device's rule gives for these bytes ("Ctrl+C").
std::string DisplayText(const PedalBytes& bytes);

}  // namespace cli
