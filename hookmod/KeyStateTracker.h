// Which X keycodes are down, as seen through raw key events. Raw events carry
// no auto-repeat flag and may repeat a release, so the hook decides here what
// a press or release means.
//
// Keys are held per source device (the raw event's sourceid): the pedal is a
// keyboard of its own, and its Ctrl going up while the real Ctrl is still
// held is no release of Ctrl. A key counts as up once no device holds it.
// Keys down in the server's keymap at the start belong to no known device;
// the first release of such a key by a device that did not press it is
// theirs.
#pragma once

#include <bitset>
#include <cstdint>
#include <map>
#include <span>

namespace hookmod {

class KeyStateTracker {
public:
    // Takes the server's 32-byte key vector (bit k = keycode k down).
    void Reset(std::span<const std::uint8_t> keymap);
    void Clear();

    // Marks the key down for `source`; true when some device already held
    // it (a repeated press).
    bool Press(std::uint8_t keycode, std::uint16_t source);
    // Marks the key up for `source`; true when that makes the key up (a
    // release worth reporting).
    bool Release(std::uint8_t keycode, std::uint16_t source);

    bool IsDown(std::uint8_t keycode) const;

private:
    using Keys = std::bitset<256>;
    Keys fromKeymap_;
    std::map<std::uint16_t, Keys> bySource_;
};

}  // namespace hookmod
