// Turns one event of a low-level keyboard hook into the message Hookmod.dll
// posts (see hookmod/HookMessages.h): the message number by key, wParam
// 256 / 257 for press / release, and lParam the key data a keyboard message
// would carry.
#pragma once

#include <cstdint>

#include "hookmod/KeyMessage.h"

namespace hookmod::windows {

struct LowLevelKey {
    std::uint32_t vkCode = 0;
    std::uint32_t scanCode = 0;  // set-1 scan code, without the E0 prefix
    bool extended = false;       // the E0 prefix
    bool release = false;
};

// `wasDown`: the key was already down before this event (for a press: an
// auto-repeat).
HookKeyMessage MakeLowLevelKeyMessage(const LowLevelKey& key, bool wasDown);

}  // namespace hookmod::windows
