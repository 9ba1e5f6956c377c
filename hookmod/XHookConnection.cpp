#include "hookmod/XHookConnection.h"

#include <xcb/xcb.h>
#include <xcb/xinput.h>

#include <cstdlib>
#include <cstring>

#include "hookmod/HookMessages.h"
#include "hookmod/SigpipeGuard.h"
#include "hookmod/XServerChecks.h"

namespace hookmod {
namespace {

template <typename T>
struct FreeDeleter {
    void operator()(T* p) const { std::free(p); }
};
template <typename T>
using XcbPtr = std::unique_ptr<T, FreeDeleter<T>>;

}  // namespace

std::unique_ptr<XHookConnection> XHookConnection::Open(std::string& error) {
    const SigpipeGuard quiet;
    int screenNumber = 0;
    xcb_connection_t* c = xcb_connect(nullptr, &screenNumber);
    std::unique_ptr<XHookConnection> self(new XHookConnection);
    self->c_ = c;  // freed by the destructor whatever happens below
    if (xcb_connection_has_error(c)) {
        error = "cannot open the X display";
        return nullptr;
    }

    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber && it.rem > 0; ++i) xcb_screen_next(&it);
    if (it.rem == 0) {
        error = "the X display has no such screen";
        return nullptr;
    }
    self->root_ = it.data->root;

    // XI 2.1+ delivers raw events even while another client grabs the keyboard.
    error = XInputShortfall(c);
    if (error.empty()) error = KeycodeShortfall(c);
    if (!error.empty()) return nullptr;
    self->xiOpcode_ = xcb_get_extension_data(c, &xcb_input_id)->major_opcode;

    const char* name = hookmsg::kHookAtomName;
    XcbPtr<xcb_intern_atom_reply_t> atom(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr));
    if (!atom) {
        error = "cannot intern the hook message atom";
        return nullptr;
    }
    self->atom_ = atom->atom;
    return self;
}

XHookConnection::~XHookConnection() {
    if (c_ != nullptr) xcb_disconnect(c_);
}

int XHookConnection::Fd() const { return xcb_get_file_descriptor(c_); }

bool XHookConnection::HasError() const { return xcb_connection_has_error(c_) != 0; }

bool XHookConnection::SelectRawKeys(bool on) {
    struct {
        xcb_input_event_mask_t head;
        std::uint32_t bits;
    } mask{};
    mask.head.deviceid = XCB_INPUT_DEVICE_ALL_MASTER;
    mask.head.mask_len = 1;
    mask.bits = on ? (XCB_INPUT_XI_EVENT_MASK_RAW_KEY_PRESS |
                      XCB_INPUT_XI_EVENT_MASK_RAW_KEY_RELEASE)
                   : 0;
    xcb_generic_error_t* err = xcb_request_check(
        c_, xcb_input_xi_select_events_checked(c_, root_, 1, &mask.head));
    const bool ok = err == nullptr && !HasError();
    std::free(err);
    return ok;
}

std::optional<XHookConnection::Keymap> XHookConnection::QueryKeymap() {
    const xcb_query_keymap_cookie_t cookie = xcb_query_keymap(c_);
    XcbPtr<xcb_query_keymap_reply_t> reply(xcb_query_keymap_reply(c_, cookie, nullptr));
    if (!reply) return std::nullopt;
    Keymap out;
    std::memcpy(out.keys.data(), reply->keys, out.keys.size());
    out.sequence = cookie.sequence;
    return out;
}

bool XHookConnection::NextEvent(std::optional<RawKey>& key) {
    key.reset();
    XcbPtr<xcb_generic_event_t> ev(xcb_poll_for_event(c_));
    if (!ev) return false;
    if ((ev->response_type & 0x7f) != XCB_GE_GENERIC) return true;
    const auto* ge = reinterpret_cast<const xcb_ge_generic_event_t*>(ev.get());
    if (ge->extension != xiOpcode_) return true;
    if (ge->event_type != XCB_INPUT_RAW_KEY_PRESS &&
        ge->event_type != XCB_INPUT_RAW_KEY_RELEASE)
        return true;
    const auto* raw = reinterpret_cast<const xcb_input_raw_key_press_event_t*>(ev.get());
    if (raw->detail > 255) return true;
    key = RawKey{static_cast<std::uint8_t>(raw->detail),
                 ge->event_type == XCB_INPUT_RAW_KEY_PRESS, raw->sourceid, ev->full_sequence};
    return true;
}

void XHookConnection::Send(std::uint32_t window, const HookKeyMessage& message) {
    xcb_client_message_event_t ev;
    std::memset(&ev, 0, sizeof ev);
    ev.response_type = XCB_CLIENT_MESSAGE;
    ev.format = 32;
    ev.window = window;
    ev.type = atom_;
    ev.data.data32[hookmsg::kDataMessage] = message.message;
    ev.data.data32[hookmsg::kDataWParam] = message.wParam;
    ev.data.data32[hookmsg::kDataLParam] = message.lParam;
    // A stale id only brings back a BadWindow error event, which NextEvent drops.
    xcb_send_event(c_, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&ev));
    xcb_flush(c_);
}

}  // namespace hookmod
