#include "hookmod/windows/LowLevelKeyMessage.h"

#include "hookmod/HookMessages.h"

namespace hookmod::windows {

namespace {

// Virtual-key codes of the three keys with messages of their own.
constexpr std::uint32_t kVkLeftWindows = 0x5B;
constexpr std::uint32_t kVkRightWindows = 0x5C;
constexpr std::uint32_t kVkApplication = 0x5D;

std::uint32_t MessageFor(std::uint32_t vkCode) {
    switch (vkCode) {
        case kVkLeftWindows: return hookmsg::kHookLeftWindows;
        case kVkRightWindows: return hookmsg::kHookRightWindows;
        case kVkApplication: return hookmsg::kHookApplication;
        default: return hookmsg::kHookKeyMessage;
    }
}

}  // namespace

HookKeyMessage MakeLowLevelKeyMessage(const LowLevelKey& key, bool wasDown) {
    HookKeyMessage m;
    m.message = MessageFor(key.vkCode);
    m.wParam = key.release ? hookmsg::kKeyUp : hookmsg::kKeyDown;
    m.lParam = 1u | ((key.scanCode & 0xFFu) << hookmsg::kScanCodeShift);
    if (key.extended) m.lParam |= hookmsg::kExtendedBit;
    if (key.release || wasDown) m.lParam |= hookmsg::kPreviousStateBit;
    if (key.release) m.lParam |= hookmsg::kReleaseBit;
    return m;
}

}  // namespace hookmod::windows
