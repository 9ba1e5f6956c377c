// A keyboard layout as the key names see it: what the key at a position
// (a usage code on the HID Keyboard/Keypad page) types. Bindings sit in
// keys/layout/: one built from an xkb layout name, the X server's current
// one, and the foreground thread's on Windows. KeyNaming turns it into names.
#pragma once

namespace keys {

class KeyLayout {
public:
    virtual ~KeyLayout() = default;

    // The character the key at `usage` types at level 1 (no modifier) in
    // the active group; a dead key gives its spacing character. 0 when the
    // key types no character or the layout does not know the position.
    virtual char32_t Character(int usage) const = 0;

    // The capital of `c` as keycaps show it; `c` itself when it has none.
    virtual char32_t Capital(char32_t c) const = 0;
};

}  // namespace keys
