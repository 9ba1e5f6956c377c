// Text conversion for the wide-string queries: sysfs and uevent texts are
// UTF-8, the platform interface hands out UTF-16 units.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "hid/platform/HidPlatform.h"

namespace hid::platform::linux_ {

// Invalid sequences become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);

// Copies at most bufferBytes / 2 units of `text` into `buffer`, followed by a
// zero unit when there is room; nothing beyond that is written. False (and
// nothing written) when the buffer cannot hold a single unit.
bool CopyToWideBuffer(const std::u16string& text, WideChar* buffer, std::uint32_t bufferBytes);

}  // namespace hid::platform::linux_
