// Which events of a low-level keyboard hook are keys the program reports, and
// as which key position. Real keyboards and Windows add events that name no
// position of their own or name one twice:
//   - a scan code above 0xFF: the made-up left Ctrl of AltGr (0x21D) and the
//     made-up Shift of the numeric keypad (0x22A); dropped;
//   - VK_PACKET: a character typed by an input method or the touch keyboard,
//     with no key behind it; dropped;
//   - injected input (remapping tools, on-screen keyboards) is taken like
//     typed input when it names a scan code, and dropped when it names only a
//     virtual key (scan code 0): such an event has no position to store;
//   - Right Shift arrives with the extended flag; Ctrl+Pause as extended 0x46
//     ("Break") and Alt+Print Screen as 0x54 ("Sys Req"): each is reported
//     as the position of its key (0x36, 0x45, extended 0x37).
// Held keys are kept by scan code and extended flag, so Enter and Num Enter,
// or Home and Num 7, are different keys.
//
// While the program's window is in front, the keys the hook reports are kept
// from the desktop (Alt+F4 must not close the program while the key box
// captures), but for Tab and the Shift keys: Tab and Shift+Tab still move the
// focus, and Shift alone does nothing on the desktop. A release is kept back
// exactly when its press was, so the desktop never sees a key stay down.
// What Windows reserves (Ctrl+Alt+Del) never reaches a hook.
#pragma once

#include <bitset>
#include <cstdint>
#include <optional>

#include "hookmod/KeyMessage.h"
#include "hookmod/windows/LowLevelKeyMessage.h"

namespace hookmod::windows {

// One event as KBDLLHOOKSTRUCT and the hook's wParam carry it.
struct LowLevelEvent {
    std::uint32_t vkCode = 0;
    std::uint32_t scanCode = 0;
    std::uint32_t flags = 0;  // LLKHF_*
    bool release = false;     // WM_KEYUP / WM_SYSKEYUP
};

inline constexpr std::uint32_t kFlagExtended = 0x01;  // LLKHF_EXTENDED
inline constexpr std::uint32_t kFlagLowerInjected = 0x02;  // LLKHF_LOWER_IL_INJECTED
inline constexpr std::uint32_t kFlagInjected = 0x10;  // LLKHF_INJECTED
inline constexpr std::uint32_t kVkPacket = 0xE7;

// The key position the event stands for; empty when it is not reported.
std::optional<LowLevelKey> KeyPositionOf(const LowLevelEvent& event);

// Held positions, by scan code and extended flag, and which of them the
// desktop did not see go down.
class HeldKeys {
public:
    void Clear() {
        down_.reset();
        keptBack_.reset();
    }
    // Marks a key held before the hook went on.
    void Hold(std::uint32_t scanCode, bool extended);
    // Notes the key's new state; true when it was held before.
    bool Update(const LowLevelKey& key);
    // Whether the desktop is not to see this event (see above); notes a
    // press kept back for its release.
    bool KeepFromDesktop(const LowLevelKey& key, bool windowInFront);

private:
    static std::size_t Index(std::uint32_t scanCode, bool extended) {
        return (scanCode & 0xFFu) | (extended ? 0x100u : 0u);
    }
    std::bitset<512> down_;
    std::bitset<512> keptBack_;
};

struct LowLevelOutcome {
    std::optional<HookKeyMessage> message;  // empty: not reported
    bool keepFromDesktop = false;           // the hook returns non-zero
};

// What the hook does with one event; the held-key state is updated.
LowLevelOutcome TakeLowLevelEvent(const LowLevelEvent& event, bool windowInFront, HeldKeys& held);

}  // namespace hookmod::windows
