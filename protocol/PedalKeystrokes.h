// What the pedal types, seen on its own keyboard collection: the keys it
// holds, one press from the first key down to the last key up, and which of
// the pedal's assignments typed it.
//
// A press is the set of every key held between two moments with nothing
// held; the pedal presses its whole combination at once, so that set is the
// combination. Modifiers count as the usages 0xE0..0xE7 (bit n of the
// modifier byte is 0xE0 + n). Plain C++: the caller passes the time.
#pragma once

#include <bitset>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "protocol/ReadBack.h"

namespace protocol {

using HeldKeys = std::bitset<256>;

inline constexpr int kFirstModifierUsage = 0xE0;
inline constexpr int kLastModifierUsage = 0xE7;

// The keys a keyboard input report holds, boot layout, after the report id:
// byte 0 the modifier bits, byte 1 reserved, bytes 2.. key usages. 0 is no
// key; a report of the roll-over error (usage 1 in a key byte) or one
// shorter than three bytes holds nothing that can be told: nullopt.
std::optional<HeldKeys> DecodeKeyboardReport(const std::uint8_t* data, std::size_t size);

// A combination as the pedal holds it, order aside: the modifier byte and
// the other keys' usages, ascending.
struct Keystroke {
    std::uint8_t modifiers = 0;
    std::vector<std::uint8_t> keys;
    bool operator==(const Keystroke&) const = default;
};

Keystroke KeystrokeOf(const HeldKeys& held);
// An assignment's keys; key slots of 0x00 and 0xFF are no key.
Keystroke KeystrokeOf(const AssignmentBytes& assignment);
// The modifier byte and the first three keys, for naming it as an answer.
AssignmentBytes AssignmentOf(const Keystroke& keystroke);

// The pedals (indices into `holds`) whose assignment types `keystroke`;
// a pedal whose assignment is not known (nullopt) types nothing. An empty
// keystroke is typed by no pedal.
std::vector<int> PedalsTyping(const Keystroke& keystroke,
                              const std::vector<std::optional<AssignmentBytes>>& holds);

class PedalPresses {
public:
    using Clock = std::chrono::steady_clock;

    // The keys held now, at `at`. When that ends a press (nothing is held
    // any more), the press's keystroke.
    std::optional<Keystroke> Update(const HeldKeys& held, Clock::time_point at);
    // The pedal went away: nothing is held, and no press ends.
    void Clear();

    // The pedal holds `usage` at `at`, or pressed it no more than `window`
    // before or after `at`: a key-down elsewhere at `at` is the pedal's own.
    bool PressedNear(int usage, Clock::time_point at, Clock::duration window) const;

private:
    HeldKeys held_;
    HeldKeys press_;
    std::vector<std::optional<Clock::time_point>> pressedAt_ = std::vector<std::optional<Clock::time_point>>(256);
    std::vector<std::optional<Clock::time_point>> releasedAt_ = std::vector<std::optional<Clock::time_point>>(256);
};

}  // namespace protocol
