// Which X keycodes are down, as seen through raw key events. Raw events carry
// no auto-repeat flag and may repeat a release, so the hook decides here what
// a press or release means.
#pragma once

#include <bitset>
#include <cstdint>
#include <span>

namespace hookmod {

class KeyStateTracker {
public:
    // Takes the server's 32-byte key vector (bit k = keycode k down).
    void Reset(std::span<const std::uint8_t> keymap);
    void Clear() { down_.reset(); }

    // Marks the key down; true when it already was (a repeated press).
    bool Press(std::uint8_t keycode);
    // Marks the key up; true when it was down (a release worth reporting).
    bool Release(std::uint8_t keycode);

    bool IsDown(std::uint8_t keycode) const { return down_.test(keycode); }

private:
    std::bitset<256> down_;
};

}  // namespace hookmod
