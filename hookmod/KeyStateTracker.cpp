#include "hookmod/KeyStateTracker.h"

#include <cstddef>

namespace hookmod {

void KeyStateTracker::Reset(std::span<const std::uint8_t> keymap) {
    Clear();
    for (std::size_t byte = 0; byte < keymap.size() && byte < 32; ++byte)
        for (unsigned bit = 0; bit < 8; ++bit)
            if (keymap[byte] & (1u << bit)) fromKeymap_.set(byte * 8 + bit);
}

void KeyStateTracker::Clear() {
    fromKeymap_.reset();
    bySource_.clear();
}

bool KeyStateTracker::IsDown(std::uint8_t keycode) const {
    if (fromKeymap_.test(keycode)) return true;
    for (const auto& [source, keys] : bySource_)
        if (keys.test(keycode)) return true;
    return false;
}

bool KeyStateTracker::Press(std::uint8_t keycode, std::uint16_t source) {
    const bool wasDown = IsDown(keycode);
    bySource_[source].set(keycode);
    return wasDown;
}

bool KeyStateTracker::Release(std::uint8_t keycode, std::uint16_t source) {
    const auto own = bySource_.find(source);
    if (own != bySource_.end() && own->second.test(keycode)) {
        own->second.reset(keycode);
        if (own->second.none()) bySource_.erase(own);
    } else if (fromKeymap_.test(keycode)) {
        fromKeymap_.reset(keycode);
    } else {
        return false;  // not held by this device: a repeated or foreign release
    }
    return !IsDown(keycode);
}

}  // namespace hookmod
