#include "protocol/HexText.h"

namespace protocol {
namespace {

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::uint32_t ParseHexOrZero(std::string_view text) {
    if (text.empty()) return 0;
    std::uint64_t value = 0;
    for (char c : text) {
        const int digit = HexDigitValue(c);
        if (digit < 0) return 0;
        value = (value << 4) | static_cast<std::uint64_t>(digit);
        if (value > 0xFFFFFFFFu) return 0;
    }
    return static_cast<std::uint32_t>(value);
}

void AppendHexByte(std::string& out, std::uint8_t value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    out += kDigits[value >> 4];
    out += kDigits[value & 0x0F];
}

std::string HexByteText(std::uint8_t value) {
    std::string text;
    AppendHexByte(text, value);
    return text;
}

}  // namespace protocol
