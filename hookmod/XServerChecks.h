// What the hook needs of an X server beyond a connection, checked the same
// way by the hook library and by the window (to say why capture is off):
//   - XInput 2.1 or later: a 2.0 server sends no raw key events to the root
//     window;
//   - evdev keycodes (X keycode = evdev code + 8): a server with other
//     keycodes (the older xfree86 set of the kbd driver, some remote X
//     servers) would have every key outside the main block reported as
//     another one. The server's XKB key names tell which set it uses.
#pragma once

#include <string>

struct xcb_connection_t;

namespace hookmod {

// XInput version `major`.`minor` as the server answered a query for 2.2.
constexpr bool DeliversRawKeyEvents(unsigned major, unsigned minor) {
    return major > 2 || (major == 2 && minor >= 1);
}

// Empty when the server offers XInput 2.1 or later; a short reason otherwise.
std::string XInputShortfall(xcb_connection_t* connection);

// Empty when the server's core keyboard uses evdev keycodes; a short reason
// otherwise.
std::string KeycodeShortfall(xcb_connection_t* connection);

}  // namespace hookmod
