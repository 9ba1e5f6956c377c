#include "cli/PrintableText.h"

namespace cli {

namespace {

void AppendHex(std::string& out, unsigned value) {
  static const char* const kHex = "0123456789ABCDEF";
  out += kHex[(value >> 4) & 0xF];
  out += kHex[value & 0xF];
}

}  // namespace

std::string PrintableText(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0u;
    if (c < 0x20 || c == 0x7F) {
      out += "\\x";
      AppendHex(out, c);
    } else if (c == 0xC2 && next >= 0x80 && next <= 0x9F) {  // U+0080..U+009F in UTF-8
      out += "\\u00";
      AppendHex(out, next);
      ++i;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace cli
