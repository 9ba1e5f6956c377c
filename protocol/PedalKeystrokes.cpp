#include "protocol/PedalKeystrokes.h"

#include <algorithm>

namespace protocol {
namespace {

constexpr std::uint8_t kErrorRollOver = 0x01;
constexpr std::size_t kFirstKeyByte = 2;

}  // namespace

std::optional<HeldKeys> DecodeKeyboardReport(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr || size <= kFirstKeyByte) return std::nullopt;
    HeldKeys held;
    for (int bit = 0; bit < 8; ++bit) {
        if (data[0] & (1u << bit)) held.set(kFirstModifierUsage + bit);
    }
    for (std::size_t i = kFirstKeyByte; i < size; ++i) {
        if (data[i] == kErrorRollOver) return std::nullopt;
        if (data[i] != kNoKey) held.set(data[i]);
    }
    return held;
}

Keystroke KeystrokeOf(const HeldKeys& held) {
    Keystroke keystroke;
    for (int usage = 1; usage < 256; ++usage) {
        if (!held.test(usage)) continue;
        if (usage >= kFirstModifierUsage && usage <= kLastModifierUsage)
            keystroke.modifiers |= static_cast<std::uint8_t>(1u << (usage - kFirstModifierUsage));
        else
            keystroke.keys.push_back(static_cast<std::uint8_t>(usage));
    }
    return keystroke;
}

Keystroke KeystrokeOf(const AssignmentBytes& assignment) {
    Keystroke keystroke;
    keystroke.modifiers = assignment[0];
    for (std::size_t slot = 1; slot < assignment.size(); ++slot) {
        const std::uint8_t key = assignment[slot];
        if (key != kNoKey && key != kErasedKey) keystroke.keys.push_back(key);
    }
    std::sort(keystroke.keys.begin(), keystroke.keys.end());
    keystroke.keys.erase(std::unique(keystroke.keys.begin(), keystroke.keys.end()), keystroke.keys.end());
    return keystroke;
}

AssignmentBytes AssignmentOf(const Keystroke& keystroke) {
    AssignmentBytes bytes{keystroke.modifiers, kNoKey, kNoKey, kNoKey};
    for (std::size_t i = 0; i < keystroke.keys.size() && i + 1 < bytes.size(); ++i) bytes[i + 1] = keystroke.keys[i];
    return bytes;
}

std::vector<int> PedalsTyping(const Keystroke& keystroke,
                              const std::vector<std::optional<AssignmentBytes>>& holds) {
    std::vector<int> pedals;
    if (keystroke == Keystroke{}) return pedals;
    for (std::size_t pedal = 0; pedal < holds.size(); ++pedal) {
        if (holds[pedal] && KeystrokeOf(*holds[pedal]) == keystroke) pedals.push_back(static_cast<int>(pedal));
    }
    return pedals;
}

std::optional<Keystroke> PedalPresses::Update(const HeldKeys& held, Clock::time_point at) {
    for (int usage = 1; usage < 256; ++usage) {
        if (held.test(usage) && !held_.test(usage)) pressedAt_[usage] = at;
        if (!held.test(usage) && held_.test(usage)) releasedAt_[usage] = at;
    }
    held_ = held;
    press_ |= held;
    if (held.any() || press_.none()) return std::nullopt;
    const Keystroke keystroke = KeystrokeOf(press_);
    press_.reset();
    return keystroke;
}

void PedalPresses::Clear() {
    held_.reset();
    press_.reset();
}

bool PedalPresses::PressedNear(int usage, Clock::time_point at, Clock::duration window) const {
    if (usage <= 0 || usage >= 256 || !pressedAt_[usage]) return false;
    const Clock::time_point pressed = *pressedAt_[usage];
    if (pressed + window >= at && pressed <= at + window) return true;
    // Held from before `at` until after it (or still).
    const std::optional<Clock::time_point>& released = releasedAt_[usage];
    const bool stillHeld = held_.test(usage) && (!released || *released < pressed);
    return pressed <= at && (stillHeld || (released && *released >= pressed && *released >= at));
}

}  // namespace protocol
