// The hook's own X connection: raw key events in, ClientMessages out.
// Used by one thread at a time (the hook thread once it runs).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "hookmod/KeyMessage.h"

struct xcb_connection_t;

namespace hookmod {

class XHookConnection {
public:
    // Connects to $DISPLAY and checks the server (XServerChecks.h); empty
    // with a one-line reason in `error` when that is not possible.
    static std::unique_ptr<XHookConnection> Open(std::string& error);
    ~XHookConnection();
    XHookConnection(const XHookConnection&) = delete;
    XHookConnection& operator=(const XHookConnection&) = delete;

    int Fd() const;
    bool HasError() const;

    // Selects raw key press/release on the root window for all master
    // devices (on) or removes that selection (off), and waits until the
    // server has done it.
    bool SelectRawKeys(bool on);

    struct Keymap {
        std::array<std::uint8_t, 32> keys{};
        std::uint32_t sequence = 0;  // request number of the query
    };
    std::optional<Keymap> QueryKeymap();

    struct RawKey {
        std::uint8_t keycode = 0;
        bool press = false;
        std::uint16_t source = 0;  // the slave device that made it
        std::uint32_t sequence = 0;  // last request the server had done
    };
    // Takes the next event that is already queued or readable without
    // blocking. False when there is none. `key` is set for raw key events
    // only; every other event (errors from a stale target window among
    // them) is dropped.
    bool NextEvent(std::optional<RawKey>& key);

    // Sends the message to `window` as a ClientMessage and flushes.
    void Send(std::uint32_t window, const HookKeyMessage& message);

private:
    XHookConnection() = default;

    xcb_connection_t* c_ = nullptr;
    std::uint32_t root_ = 0;
    std::uint32_t atom_ = 0;
    std::uint8_t xiOpcode_ = 0;
};

}  // namespace hookmod
