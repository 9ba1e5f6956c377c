// The test's stand-in for the program's window: an X window that receives the
// hook's ClientMessages, the shared block that names it, and XTest key
// injection by keycode.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

struct xcb_connection_t;

namespace hooktest {

struct HookMsg {
    std::uint32_t message = 0;
    std::uint32_t wParam = 0;
    std::uint32_t lParam = 0;
    bool operator==(const HookMsg&) const = default;
};
std::ostream& operator<<(std::ostream& os, const HookMsg& m);

class HookReceiver {
public:
    HookReceiver() = default;
    ~HookReceiver();
    HookReceiver(const HookReceiver&) = delete;
    HookReceiver& operator=(const HookReceiver&) = delete;

    // Connects to $DISPLAY and creates the window.
    bool Open(std::string& error);
    std::uint32_t Window() const { return window_; }
    // An id in this client's range that names no window.
    std::uint32_t UnusedWindowId();

    // This process's block, which the test build of the hook reads (the
    // test exports its name as VARNOK_HOOK_TEST_BLOCK before loading it).
    static const std::string& BlockName();
    // Writes `id` into the hook's block (creating it), or removes the block.
    static void Publish(std::uint32_t id);
    static void RemoveBlock();

    // Presses or releases a key by X keycode and waits until the server has
    // processed it.
    void Key(std::uint8_t keycode, bool press);
    void Tap(std::uint8_t keycode) {
        Key(keycode, true);
        Key(keycode, false);
    }

    // Next hook message, or nothing when none came within `limit`.
    std::optional<HookMsg> Next(std::chrono::milliseconds limit = std::chrono::seconds(10));

private:
    xcb_connection_t* c_ = nullptr;
    std::uint32_t root_ = 0;
    std::uint32_t window_ = 0;
    std::uint32_t atom_ = 0;
};

}  // namespace hooktest
