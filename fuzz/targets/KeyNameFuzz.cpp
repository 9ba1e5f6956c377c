// Key data to key name: the name is never empty and free of zeros, the
// platform-style copy respects its buffer, and the capture's name is at most
// 19 characters and a prefix of the full name.
// Input layout: 4 bytes key data (little-endian), then 1 byte buffer size.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "capture/KeyDataNames.h"
#include "fuzz/targets/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  std::uint32_t keyData = 0;
  for (int i = 0; i < 4; ++i) keyData |= std::uint32_t{data[i]} << (8 * i);
  const int bufferSize = size > 4 ? data[4] % 64 : 21;

  const std::string name = capture::KeyDataName(keyData);
  FUZZ_CHECK(!name.empty());
  FUZZ_CHECK(name.find('\0') == std::string::npos);
  // Only the scan code and the extended flag pick the key.
  FUZZ_CHECK(capture::KeyDataName(keyData & 0x01FF0000u) == name);

  std::vector<char> buffer(static_cast<std::size_t>(bufferSize) + 1, '\x7f');
  const int copied = capture::KeyNameText(keyData, buffer.data(), bufferSize);
  if (bufferSize == 0) {
    FUZZ_CHECK(copied == 0);
    FUZZ_CHECK(buffer[0] == '\x7f');
  } else {
    FUZZ_CHECK(copied >= 0 && copied <= bufferSize - 1);
    FUZZ_CHECK(buffer[static_cast<std::size_t>(copied)] == '\0');
    FUZZ_CHECK(name.compare(0, static_cast<std::size_t>(copied), buffer.data()) == 0);
    FUZZ_CHECK(static_cast<std::size_t>(copied) == std::min(name.size(), static_cast<std::size_t>(bufferSize - 1)));
  }
  FUZZ_CHECK(buffer[static_cast<std::size_t>(bufferSize)] == '\x7f');  // nothing past the buffer

  const std::string shown = capture::KeyNameForMessage(keyData);
  FUZZ_CHECK(!shown.empty());
  FUZZ_CHECK(shown.size() <= 19);
  FUZZ_CHECK(shown.find('\0') == std::string::npos);
  FUZZ_CHECK(name.compare(0, shown.size(), shown) == 0);
  return 0;
}
