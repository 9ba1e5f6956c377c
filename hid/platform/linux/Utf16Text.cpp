#include "hid/platform/linux/Utf16Text.h"

#include <algorithm>

namespace hid::platform::linux_ {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one code point at text[i]; advances i past the bytes used.
char32_t DecodeOne(std::string_view text, std::size_t& i) {
  const auto lead = static_cast<unsigned char>(text[i++]);
  if (lead < 0x80) return lead;
  int extra = 0;
  char32_t cp = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1, cp = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, cp = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, cp = lead & 0x07, minimum = 0x10000;
  } else {
    return kReplacement;
  }
  for (int k = 0; k < extra; ++k) {
    if (i >= text.size()) return kReplacement;
    const auto next = static_cast<unsigned char>(text[i]);
    if ((next & 0xC0) != 0x80) return kReplacement;  // the byte starts the next sequence
    cp = (cp << 6) | (next & 0x3F);
    ++i;
  }
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kReplacement;
  return cp;
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const char32_t cp = DecodeOne(text, i);
    if (cp >= 0x10000) {
      const char32_t v = cp - 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (v >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return out;
}

bool CopyToWideBuffer(const std::u16string& text, WideChar* buffer, std::uint32_t bufferBytes) {
  const std::size_t units = bufferBytes / sizeof(WideChar);
  if (buffer == nullptr || units == 0) return false;
  const std::size_t n = std::min(units, text.size());
  std::copy_n(text.begin(), n, buffer);
  if (n < units) buffer[n] = 0;
  return true;
}

}  // namespace hid::platform::linux_
