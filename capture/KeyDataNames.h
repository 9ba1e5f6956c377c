// English key names from keyboard-message key data: bits 16..23 the PC set-1
// scan code, bit 24 the extended (E0) flag. Names follow key positions on a
// US PC keyboard and are exactly the KeyNameTable names for every key that
// table lists: these names are key positions, which KeyCapture names again
// in the user's layout. Keys outside the table get names of their own
// ("F13", "Volume Up", ...); a code no key has gets a generic name
// ("Key 5A", "Key E0 5A"), so even an unknown key shows up and its release
// matches its press.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace capture {

// Name for the key data in `keyData`; never empty.
std::string KeyDataName(std::uint32_t keyData);

// The usage of the key's position (a KeyNameTable number); 0 for a key
// without one.
int KeyDataUsage(std::uint32_t keyData);

// Copies the name into `buffer` of `size` characters the way the platform's
// key-name lookup does: at most size - 1 characters, then a zero. Returns the
// number of characters copied; 0 when `size` is 0.
int KeyNameText(std::uint32_t keyData, char* buffer, int size);

// The capture's name for a key message: looked up into a 21-character buffer
// offered as 20, so at most 19 characters, taken up to the first zero.
std::string KeyNameForMessage(std::uint32_t lParam);

}  // namespace capture
