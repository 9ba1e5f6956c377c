#include "hookmod/KeyMessage.h"

#include "hookmod/EvdevScanCodes.h"
#include "hookmod/HookMessages.h"

namespace hookmod {
namespace {

std::uint32_t MessageFor(unsigned evdevCode) {
    switch (evdevCode) {
        case kEvdevLeftMeta: return hookmsg::kHookLeftWindows;
        case kEvdevRightMeta: return hookmsg::kHookRightWindows;
        case kEvdevCompose: return hookmsg::kHookApplication;
        default: return hookmsg::kHookKeyMessage;
    }
}

}  // namespace

std::optional<HookKeyMessage> MakeHookKeyMessage(unsigned evdevCode,
                                                 KeyTransition transition) {
    const ScanCode scan = EvdevToScanCode(evdevCode);
    if (!scan.valid()) return std::nullopt;

    std::uint32_t lParam = 1u | (std::uint32_t{scan.code} << hookmsg::kScanCodeShift);
    if (scan.extended) lParam |= hookmsg::kExtendedBit;
    if (transition != KeyTransition::Press) lParam |= hookmsg::kPreviousStateBit;
    if (transition == KeyTransition::Release) lParam |= hookmsg::kReleaseBit;

    HookKeyMessage out;
    out.message = MessageFor(evdevCode);
    out.wParam = transition == KeyTransition::Release ? hookmsg::kKeyUp : hookmsg::kKeyDown;
    out.lParam = lParam;
    return out;
}

}  // namespace hookmod
