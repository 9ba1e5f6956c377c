#include "hookmod/KeyStateTracker.h"

#include <cstddef>

namespace hookmod {

void KeyStateTracker::Reset(std::span<const std::uint8_t> keymap) {
    down_.reset();
    for (std::size_t byte = 0; byte < keymap.size() && byte < 32; ++byte)
        for (unsigned bit = 0; bit < 8; ++bit)
            if (keymap[byte] & (1u << bit)) down_.set(byte * 8 + bit);
}

bool KeyStateTracker::Press(std::uint8_t keycode) {
    const bool wasDown = down_.test(keycode);
    down_.set(keycode);
    return wasDown;
}

bool KeyStateTracker::Release(std::uint8_t keycode) {
    const bool wasDown = down_.test(keycode);
    down_.reset(keycode);
    return wasDown;
}

}  // namespace hookmod
