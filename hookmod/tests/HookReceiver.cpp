#include "hookmod/tests/HookReceiver.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <cstdlib>
#include <cstring>
#include <iomanip>

#include "hookmod/HookMessages.h"

namespace hooktest {

std::ostream& operator<<(std::ostream& os, const HookMsg& m) {
    return os << std::hex << "{0x" << m.message << ", " << std::dec << m.wParam << ", 0x"
              << std::hex << std::setw(8) << std::setfill('0') << m.lParam << std::dec << "}";
}

HookReceiver::~HookReceiver() {
    if (c_ != nullptr) xcb_disconnect(c_);
}

bool HookReceiver::Open(std::string& error) {
    int screenNumber = 0;
    c_ = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(c_)) {
        error = "receiver cannot connect to the X display";
        return false;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c_));
    for (int i = 0; i < screenNumber; ++i) xcb_screen_next(&it);
    root_ = it.data->root;

    window_ = xcb_generate_id(c_);
    xcb_create_window(c_, XCB_COPY_FROM_PARENT, window_, root_, 0, 0, 10, 10, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);

    const char* name = hookmsg::kHookAtomName;
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        c_, xcb_intern_atom(c_, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
    if (atom == nullptr) {
        error = "receiver cannot intern the hook atom";
        return false;
    }
    atom_ = atom->atom;
    std::free(atom);
    return true;
}

std::uint32_t HookReceiver::UnusedWindowId() { return xcb_generate_id(c_); }

const std::string& HookReceiver::BlockName() {
    static const std::string name = "/VarnokHookmodTest." + std::to_string(getpid());
    return name;
}

void HookReceiver::Publish(std::uint32_t id) {
    const int fd = shm_open(BlockName().c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0) return;
    if (ftruncate(fd, hookmsg::kHookWindowBlockSize) == 0)
        (void)!pwrite(fd, &id, sizeof id, 0);
    close(fd);
}

void HookReceiver::RemoveBlock() { shm_unlink(BlockName().c_str()); }

void HookReceiver::Key(std::uint8_t keycode, bool press) {
    xcb_test_fake_input(c_, press ? XCB_KEY_PRESS : XCB_KEY_RELEASE, keycode, XCB_CURRENT_TIME,
                        root_, 0, 0, 0);
    // A round trip: the server has generated the key's events when it answers.
    std::free(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr));
}

std::optional<HookMsg> HookReceiver::Next(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        while (xcb_generic_event_t* ev = xcb_poll_for_event(c_)) {
            std::optional<HookMsg> out;
            if ((ev->response_type & 0x7f) == XCB_CLIENT_MESSAGE) {
                const auto* cm = reinterpret_cast<const xcb_client_message_event_t*>(ev);
                if (cm->type == atom_ && cm->format == 32 && cm->window == window_)
                    out = HookMsg{cm->data.data32[hookmsg::kDataMessage],
                                  cm->data.data32[hookmsg::kDataWParam],
                                  cm->data.data32[hookmsg::kDataLParam]};
            }
            std::free(ev);
            if (out) return out;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || xcb_connection_has_error(c_)) return std::nullopt;
        pollfd p{xcb_get_file_descriptor(c_), POLLIN, 0};
        poll(&p, 1, static_cast<int>(left.count()));
    }
}

}  // namespace hooktest
