// Turns one key transition into the message the program's window receives.
#pragma once

#include <cstdint>
#include <optional>

namespace hookmod {

enum class KeyTransition { Press, RepeatPress, Release };

struct HookKeyMessage {
    std::uint32_t message = 0;
    std::uint32_t wParam = 0;
    std::uint32_t lParam = 0;
};

// Message for an evdev key code; empty when the key has no set-1 scan code.
std::optional<HookKeyMessage> MakeHookKeyMessage(unsigned evdevCode,
                                                 KeyTransition transition);

}  // namespace hookmod
