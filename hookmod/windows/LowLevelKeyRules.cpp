#include "hookmod/windows/LowLevelKeyRules.h"

namespace hookmod::windows {

namespace {

constexpr std::uint32_t kScanRightShift = 0x36;
constexpr std::uint32_t kScanBreak = 0x46;         // extended: Ctrl+Pause
constexpr std::uint32_t kScanPause = 0x45;         // plain: Pause
constexpr std::uint32_t kScanSysReq = 0x54;        // plain: Alt+Print Screen
constexpr std::uint32_t kScanPrintScreen = 0x37;   // extended: Print Screen

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

std::optional<HookKeyMessage> TakeLowLevelEvent(const LowLevelEvent& event, HeldKeys& held) {
    const std::optional<LowLevelKey> key = KeyPositionOf(event);
    if (!key) return std::nullopt;
    const bool wasDown = held.Update(*key);
    return MakeLowLevelKeyMessage(*key, wasDown);
}

}  // namespace hookmod::windows
