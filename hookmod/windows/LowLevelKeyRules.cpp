#include "hookmod/windows/LowLevelKeyRules.h"

namespace hookmod::windows {

namespace {

constexpr std::uint32_t kScanRightShift = 0x36;
constexpr std::uint32_t kScanBreak = 0x46;         // extended: Ctrl+Pause
constexpr std::uint32_t kScanPause = 0x45;         // plain: Pause
constexpr std::uint32_t kScanSysReq = 0x54;        // plain: Alt+Print Screen
constexpr std::uint32_t kScanPrintScreen = 0x37;   // extended: Print Screen
constexpr std::uint32_t kScanTab = 0x0F;
constexpr std::uint32_t kScanLeftShift = 0x2A;

}  // namespace

std::optional<LowLevelKey> KeyPositionOf(const LowLevelEvent& event) {
    if (event.vkCode == kVkPacket || event.scanCode > 0xFF) return std::nullopt;
    const bool injected = (event.flags & (kFlagInjected | kFlagLowerInjected)) != 0;
    if (injected && event.scanCode == 0) return std::nullopt;

    LowLevelKey key;
    key.vkCode = event.vkCode;
    key.scanCode = event.scanCode;
    key.extended = (event.flags & kFlagExtended) != 0;
    key.release = event.release;
    if (key.extended && key.scanCode == kScanRightShift) {
        key.extended = false;
    } else if (key.extended && key.scanCode == kScanBreak) {
        key.scanCode = kScanPause;
        key.extended = false;
    } else if (!key.extended && key.scanCode == kScanSysReq) {
        key.scanCode = kScanPrintScreen;
        key.extended = true;
    }
    return key;
}

void HeldKeys::Hold(std::uint32_t scanCode, bool extended) {
    down_.set(Index(scanCode, extended));
}

bool HeldKeys::Update(const LowLevelKey& key) {
    const std::size_t index = Index(key.scanCode, key.extended);
    const bool wasDown = down_.test(index);
    down_.set(index, !key.release);
    return wasDown;
}

bool HeldKeys::KeepFromDesktop(const LowLevelKey& key, bool windowInFront) {
    const std::size_t index = Index(key.scanCode, key.extended);
    if (key.release) {
        const bool kept = keptBack_.test(index);
        keptBack_.reset(index);
        return kept;
    }
    if (down_.test(index)) return keptBack_.test(index);  // a repeat goes where its press went
    const bool passes = !key.extended && (key.scanCode == kScanTab || key.scanCode == kScanLeftShift ||
                                          key.scanCode == kScanRightShift);
    const bool keep = windowInFront && !passes;
    keptBack_.set(index, keep);
    return keep;
}

LowLevelOutcome TakeLowLevelEvent(const LowLevelEvent& event, bool windowInFront, HeldKeys& held) {
    LowLevelOutcome out;
    const std::optional<LowLevelKey> key = KeyPositionOf(event);
    if (!key) return out;
    out.keepFromDesktop = held.KeepFromDesktop(*key, windowInFront);
    const bool wasDown = held.Update(*key);
    out.message = MakeLowLevelKeyMessage(*key, wasDown);
    return out;
}

}  // namespace hookmod::windows
