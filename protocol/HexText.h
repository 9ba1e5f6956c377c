// The one rule for bytes kept as text: written as two upper-case hexadecimal
// digits, read back as a hexadecimal number where anything invalid counts as 0.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace protocol {

// Reads `text` as a hexadecimal number, as if it were prefixed by "$": one or
// more digits 0-9, a-f, A-F and nothing else (no sign, blank, prefix or
// suffix), with a value that fits in 32 bits (leading zeros allowed).
// Any other text, the empty text included, gives 0.
std::uint32_t ParseHexOrZero(std::string_view text);

// Two upper-case hexadecimal digits, zero-padded: 04, 0A, FF.
std::string HexByteText(std::uint8_t value);

// Appends the two digits of HexByteText(value) to `out`.
void AppendHexByte(std::string& out, std::uint8_t value);

}  // namespace protocol
