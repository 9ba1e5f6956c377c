// The X server's current keyboard layout (libxkbcommon-x11 on a connection
// of its own): the core keyboard's keymap and its effective group, kept up to
// date from the server's XKB events (new keyboard, map change, group change).
// The owner watches Fd() and calls HandleEvents() when it is readable.
#pragma once

#include <cstdint>
#include <memory>

#include "keys/KeyLayout.h"
#include "keys/layout/XkbLayout.h"

struct xcb_connection_t;
struct xkb_context;

namespace keys {

class X11Layout {
public:
    // nullptr when there is no display or it has no XKB extension.
    // `display` as for xcb_connect (nullptr: $DISPLAY).
    static std::unique_ptr<X11Layout> Connect(const char* display = nullptr);
    ~X11Layout();
    X11Layout(const X11Layout&) = delete;
    X11Layout& operator=(const X11Layout&) = delete;

    // The connection's file descriptor, readable when events are pending.
    int Fd() const;

    // Reads the pending events. Returns true when the keymap or the group
    // changed, so names built from Layout() before are out of date.
    bool HandleEvents();

    // The layout as of the last event handled.
    const KeyLayout& Layout() const { return *layout_; }

private:
    X11Layout(xcb_connection_t* connection, xkb_context* context, int device,
              std::uint8_t firstEvent);
    bool ReadKeymap();

    xcb_connection_t* connection_;
    xkb_context* context_;
    int device_;
    std::uint8_t firstEvent_;
    unsigned group_ = 0;
    std::unique_ptr<XkbLayout> layout_;
};

}  // namespace keys
