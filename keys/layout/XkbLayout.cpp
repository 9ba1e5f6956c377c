#include "keys/layout/XkbLayout.h"

#include <xkbcommon/xkbcommon.h>

#include "keys/CharacterKeys.h"

namespace keys {
namespace {

// X keycodes are evdev codes + 8; for character keys evdev = set-1.
constexpr int kEvdevOffset = 8;

// The spacing character keycaps show for a dead key.
char32_t DeadKeyCharacter(xkb_keysym_t sym) {
    switch (sym) {
        case XKB_KEY_dead_grave: return U'`';
        case XKB_KEY_dead_acute: return U'\u00B4';
        case XKB_KEY_dead_circumflex: return U'^';
        case XKB_KEY_dead_tilde: return U'~';
        case XKB_KEY_dead_diaeresis: return U'\u00A8';
        case XKB_KEY_dead_abovering: return U'\u00B0';
        case XKB_KEY_dead_cedilla: return U'\u00B8';
        case XKB_KEY_dead_caron: return U'\u02C7';
        case XKB_KEY_dead_macron: return U'\u00AF';
        case XKB_KEY_dead_breve: return U'\u02D8';
        case XKB_KEY_dead_abovedot: return U'\u02D9';
        case XKB_KEY_dead_doubleacute: return U'\u02DD';
        case XKB_KEY_dead_ogonek: return U'\u02DB';
        default: return 0;
    }
}

}  // namespace

XkbLayout::XkbLayout(xkb_keymap* keymap, unsigned group) : keymap_(keymap), group_(group) {}

XkbLayout::~XkbLayout() { xkb_keymap_unref(keymap_); }

std::unique_ptr<XkbLayout> XkbLayout::FromName(const std::string& layout,
                                               const std::string& variant) {
    if (layout.empty()) return nullptr;
    xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_ENVIRONMENT_NAMES);
    if (context == nullptr) return nullptr;
    xkb_context_set_log_level(context, XKB_LOG_LEVEL_CRITICAL);
    const xkb_rule_names names{"evdev", "pc105", layout.c_str(), variant.c_str(), ""};
    xkb_keymap* keymap = xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
    xkb_context_unref(context);
    if (keymap == nullptr) return nullptr;
    return std::make_unique<XkbLayout>(keymap, 0u);
}

char32_t XkbLayout::Character(int usage) const {
    const int scanCode = CharacterScanCode(usage);
    if (scanCode == 0) return 0;
    const xkb_keycode_t keycode = static_cast<xkb_keycode_t>(scanCode + kEvdevOffset);
    const xkb_layout_index_t groups = xkb_keymap_num_layouts_for_key(keymap_, keycode);
    if (groups == 0) return 0;
    const xkb_keysym_t* syms = nullptr;
    const int count =
        xkb_keymap_key_get_syms_by_level(keymap_, keycode, group_ % groups, 0, &syms);
    if (count != 1) return 0;
    if (const char32_t dead = DeadKeyCharacter(syms[0]); dead != 0) return dead;
    return xkb_keysym_to_utf32(syms[0]);
}

char32_t XkbLayout::Capital(char32_t c) const {
    const xkb_keysym_t sym = xkb_utf32_to_keysym(c);
    if (sym == XKB_KEY_NoSymbol) return c;
    const char32_t capital = xkb_keysym_to_utf32(xkb_keysym_to_upper(sym));
    return capital != 0 ? capital : c;
}

}  // namespace keys
