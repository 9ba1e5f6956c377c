// Key combination text <-> the four assignment bytes of one pedal
// (modifier byte, key usage codes 1..3).
//
//   "Ctrl+Shift+A"  -> 03 04 00 00
//   "" or "none"    -> 00 00 00 00
//
// Names are those of the key table, exact and case-sensitive, joined by "+",
// and, with a layout's naming, that layout's names too ("Ctrl+Z" on a German
// layout is 01 1D 00 00). "Key 0x68" is the code 0x68 in a key slot.
// Modifiers fold into the modifier byte; at most three other keys.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "keys/KeyNaming.h"

namespace cli {

using PedalBytes = std::array<std::uint8_t, 4>;

struct KeyParseResult {
  bool ok = false;
  PedalBytes bytes{};
  std::string error;  // names the bad part when !ok
};

KeyParseResult ParseKeyCombination(std::string_view text,
                                   const keys::KeyNaming& naming = keys::TableNaming());

// "01-06-00-00" (two hex digits each, upper or lower case, "-" between).
bool ParseBytesText(std::string_view text, PedalBytes& out);
std::string BytesText(const PedalBytes& bytes);

// Text of these bytes that parses back to the keys they type ("Ctrl+C"):
// the modifiers, then each key slot that holds a key (1..254) by its name,
// a code without a key name by its number. Empty when no slot holds a key.
std::string DisplayText(const PedalBytes& bytes, const keys::KeyNaming& naming = keys::TableNaming());

}  // namespace cli
