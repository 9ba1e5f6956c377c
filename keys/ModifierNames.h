// Names of the bits of the HID keyboard modifier byte: bit n is the modifier
// row of KeyNameTable with usage number 224 + n.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace keys {

// Name of modifier bit 0..7 ("Ctrl" .. "Right Windows"); empty for other bits.
std::string_view ModifierName(int bit);

// HIDtoKey2: names of the set bits, bit 0 first, joined by "+"; empty for 0.
// Replaces the previous content of `out`.
void HIDtoKey2(std::uint8_t modifiers, std::string& out);

}  // namespace keys
