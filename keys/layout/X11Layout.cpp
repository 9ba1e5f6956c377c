#include "keys/layout/X11Layout.h"

#include <cstdlib>

#include <xcb/xcb.h>
// xcb/xkb.h names a field "explicit", a C++ keyword.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

namespace keys {
namespace {

constexpr std::uint16_t kWatchedEvents = XCB_XKB_EVENT_TYPE_NEW_KEYBOARD_NOTIFY |
                                         XCB_XKB_EVENT_TYPE_MAP_NOTIFY |
                                         XCB_XKB_EVENT_TYPE_STATE_NOTIFY;
constexpr std::uint16_t kWatchedMaps =
    XCB_XKB_MAP_PART_KEY_TYPES | XCB_XKB_MAP_PART_KEY_SYMS | XCB_XKB_MAP_PART_MODIFIER_MAP |
    XCB_XKB_MAP_PART_EXPLICIT_COMPONENTS | XCB_XKB_MAP_PART_KEY_ACTIONS |
    XCB_XKB_MAP_PART_VIRTUAL_MODS | XCB_XKB_MAP_PART_VIRTUAL_MOD_MAP;

// The part of an XKB event every XKB event type shares.
struct XkbEventHead {
    std::uint8_t response_type;
    std::uint8_t xkbType;
    std::uint16_t sequence;
    xcb_timestamp_t time;
    std::uint8_t deviceID;
};

}  // namespace

std::unique_ptr<X11Layout> X11Layout::Connect(const char* display) {
    xcb_connection_t* connection = xcb_connect(display, nullptr);
    if (xcb_connection_has_error(connection) != 0) {
        xcb_disconnect(connection);
        return nullptr;
    }
    std::uint8_t firstEvent = 0;
    if (xkb_x11_setup_xkb_extension(connection, XKB_X11_MIN_MAJOR_XKB_VERSION,
                                    XKB_X11_MIN_MINOR_XKB_VERSION, XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS,
                                    nullptr, nullptr, &firstEvent, nullptr) == 0) {
        xcb_disconnect(connection);
        return nullptr;
    }
    const std::int32_t device = xkb_x11_get_core_keyboard_device_id(connection);
    xkb_context* context = device < 0 ? nullptr : xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    if (context == nullptr) {
        xcb_disconnect(connection);
        return nullptr;
    }
    xkb_context_set_log_level(context, XKB_LOG_LEVEL_CRITICAL);
    std::unique_ptr<X11Layout> layout(new X11Layout(connection, context, device, firstEvent));
    const xcb_void_cookie_t select = xcb_xkb_select_events_checked(
        connection, static_cast<xcb_xkb_device_spec_t>(device), kWatchedEvents, 0, kWatchedEvents,
        kWatchedMaps, kWatchedMaps, nullptr);
    if (xcb_generic_error_t* error = xcb_request_check(connection, select)) {
        std::free(error);
        return nullptr;
    }
    if (!layout->ReadKeymap()) return nullptr;
    return layout;
}

X11Layout::X11Layout(xcb_connection_t* connection, xkb_context* context, int device,
                     std::uint8_t firstEvent)
    : connection_(connection), context_(context), device_(device), firstEvent_(firstEvent) {}

X11Layout::~X11Layout() {
    layout_.reset();
    xkb_context_unref(context_);
    xcb_disconnect(connection_);
}

int X11Layout::Fd() const { return xcb_get_file_descriptor(connection_); }

bool X11Layout::ReadKeymap() {
    xkb_keymap* keymap =
        xkb_x11_keymap_new_from_device(context_, connection_, device_, XKB_KEYMAP_COMPILE_NO_FLAGS);
    if (keymap == nullptr) return false;
    if (xkb_state* state = xkb_x11_state_new_from_device(keymap, connection_, device_)) {
        group_ = xkb_state_serialize_layout(state, XKB_STATE_LAYOUT_EFFECTIVE);
        xkb_state_unref(state);
    }
    layout_ = std::make_unique<XkbLayout>(keymap, group_);
    return true;
}

bool X11Layout::HandleEvents() {
    bool updated = false;
    for (;;) {
        bool changed = false;
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
            if ((event->response_type & 0x7F) == firstEvent_) {
                const auto* head = reinterpret_cast<const XkbEventHead*>(event);
                if (head->deviceID == device_) {
                    if (head->xkbType == XCB_XKB_STATE_NOTIFY)
                        changed |= reinterpret_cast<const xcb_xkb_state_notify_event_t*>(event)
                                       ->group != group_;
                    else if (head->xkbType == XCB_XKB_NEW_KEYBOARD_NOTIFY ||
                             head->xkbType == XCB_XKB_MAP_NOTIFY)
                        changed = true;
                }
            }
            std::free(event);
        }
        // The keymap and the group are read afresh together, so a group
        // that changed with the map is never paired with the old map. Events
        // that came in while reading are handled in the next round.
        if (!changed || !ReadKeymap()) return updated;
        updated = true;
    }
}

}  // namespace keys
