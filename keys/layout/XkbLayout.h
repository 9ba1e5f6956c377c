// A KeyLayout over an xkb keymap and one of its groups (libxkbcommon).
// Used for a layout given by name (the command line's --layout, tests) and
// by the X11 binding for the server's current keymap.
#pragma once

#include <memory>
#include <string>

#include "keys/KeyLayout.h"

struct xkb_keymap;

namespace keys {

class XkbLayout final : public KeyLayout {
public:
    // Takes over one reference of `keymap`.
    XkbLayout(xkb_keymap* keymap, unsigned group);
    ~XkbLayout() override;
    XkbLayout(const XkbLayout&) = delete;
    XkbLayout& operator=(const XkbLayout&) = delete;

    // The keymap of an xkb layout name such as "de" or "fr", with an
    // optional variant ("de", "nodeadkeys"), on the evdev rules. No X
    // server is needed. nullptr when xkb has no such layout.
    static std::unique_ptr<XkbLayout> FromName(const std::string& layout,
                                               const std::string& variant = {});

    char32_t Character(int usage) const override;
    char32_t Capital(char32_t c) const override;

private:
    xkb_keymap* keymap_;
    unsigned group_;
};

}  // namespace keys
