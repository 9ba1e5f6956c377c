#include "hookmod/XServerChecks.h"

#include <xcb/xcb.h>
#include <xcb/xinput.h>
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

namespace hookmod {
namespace {

// Keys whose keycodes differ between the evdev set and the older ones, by
// their XKB names, with their evdev X keycodes.
struct NamedKeycode {
    const char* name;
    xkb_keycode_t keycode;
};
constexpr NamedKeycode kEvdevProbes[] = {
    {"ESC", 9},    {"RTRN", 36},  {"LFSH", 50},  {"KPEN", 104}, {"RCTL", 105},
    {"RALT", 108}, {"HOME", 110}, {"UP", 111},   {"PGUP", 112}, {"LEFT", 113},
    {"RGHT", 114}, {"END", 115},  {"DOWN", 116}, {"PGDN", 117}, {"INS", 118},
    {"DELE", 119}, {"LWIN", 133}, {"RWIN", 134}, {"COMP", 135},
};

struct ContextFree {
    void operator()(xkb_context* p) const { xkb_context_unref(p); }
};
struct KeymapFree {
    void operator()(xkb_keymap* p) const { xkb_keymap_unref(p); }
};

}  // namespace

std::string XInputShortfall(xcb_connection_t* connection) {
    const xcb_query_extension_reply_t* ext = xcb_get_extension_data(connection, &xcb_input_id);
    if (ext == nullptr || !ext->present) return "the X server has no XInput extension";
    xcb_input_xi_query_version_reply_t* version = xcb_input_xi_query_version_reply(
        connection, xcb_input_xi_query_version(connection, 2, 2), nullptr);
    const unsigned major = version != nullptr ? version->major_version : 0;
    const unsigned minor = version != nullptr ? version->minor_version : 0;
    std::free(version);
    if (major < 2) return "the X server has no XInput 2";
    if (!DeliversRawKeyEvents(major, minor))
        return "the X server has XInput " + std::to_string(major) + "." + std::to_string(minor) +
               ", which sends no raw key events (2.1 or later needed)";
    return {};
}

std::string KeycodeShortfall(xcb_connection_t* connection) {
    if (!xkb_x11_setup_xkb_extension(connection, XKB_X11_MIN_MAJOR_XKB_VERSION,
                                     XKB_X11_MIN_MINOR_XKB_VERSION, XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS,
                                     nullptr, nullptr, nullptr, nullptr))
        return "the X server has no XKB extension, so its keycodes are unknown";
    const std::int32_t device = xkb_x11_get_core_keyboard_device_id(connection);
    std::unique_ptr<xkb_context, ContextFree> context(xkb_context_new(XKB_CONTEXT_NO_DEFAULT_INCLUDES));
    if (device < 0 || !context) return "the X server's keyboard cannot be read";
    std::unique_ptr<xkb_keymap, KeymapFree> keymap(
        xkb_x11_keymap_new_from_device(context.get(), connection, device, XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (!keymap) return "the X server's keyboard cannot be read";
    for (const NamedKeycode& probe : kEvdevProbes) {
        if (xkb_keymap_key_by_name(keymap.get(), probe.name) != probe.keycode)
            return "the X server does not use evdev keycodes, so keys would be taken for others";
    }
    return {};
}

}  // namespace hookmod
