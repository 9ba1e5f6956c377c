#include "protocol/PedalKeystrokes.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace std::chrono_literals;
using protocol::HeldKeys;
using protocol::Keystroke;
using protocol::PedalPresses;

HeldKeys Held(std::vector<int> usages) {
    HeldKeys held;
    for (int usage : usages) held.set(usage);
    return held;
}

struct ReportCase {
    std::vector<std::uint8_t> data;
    std::optional<std::vector<int>> held;
};

TEST(PedalKeystrokes, KeyboardReportsDecodeToTheKeysHeld) {
    const std::vector<ReportCase> cases{
        {{0x02, 0x00, 0x05, 0x00, 0x00, 0x00, 0x00, 0x00}, std::vector<int>{0xE1, 0x05}},  // Shift+B
        {{0x11, 0x00, 0x06, 0x19, 0x00, 0x00, 0x00, 0x00}, std::vector<int>{0xE0, 0xE4, 0x06, 0x19}},
        {{0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, std::vector<int>{}},
        {{0x00, 0x7F, 0x04}, std::vector<int>{0x04}},  // the reserved byte is not a key
        {{0x00, 0x00, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01}, std::nullopt},  // roll-over
        {{0x02, 0x00}, std::nullopt},
    };
    for (const ReportCase& c : cases) {
        const std::optional<HeldKeys> held = protocol::DecodeKeyboardReport(c.data.data(), c.data.size());
        ASSERT_EQ(held.has_value(), c.held.has_value());
        if (held) {
            EXPECT_EQ(*held, Held(*c.held));
        }
    }
    EXPECT_FALSE(protocol::DecodeKeyboardReport(nullptr, 8));
}

TEST(PedalKeystrokes, APressIsEveryKeyHeldUntilAllAreUp) {
    PedalPresses presses;
    const auto t = PedalPresses::Clock::time_point{} + 1s;
    EXPECT_FALSE(presses.Update(Held({0xE1}), t));
    EXPECT_FALSE(presses.Update(Held({0xE1, 0x05}), t + 5ms));
    EXPECT_FALSE(presses.Update(Held({0x05}), t + 60ms));
    const std::optional<Keystroke> press = presses.Update({}, t + 70ms);
    ASSERT_TRUE(press);
    EXPECT_EQ(*press, (Keystroke{0x02, {0x05}}));
    // Nothing more held: no second press; a vanished pedal ends none.
    EXPECT_FALSE(presses.Update({}, t + 80ms));
    presses.Update(Held({0x04}), t + 90ms);
    presses.Clear();
    EXPECT_FALSE(presses.Update({}, t + 100ms));
}

TEST(PedalKeystrokes, KeyDownsElsewhereNearThePedalsOwnArePaired) {
    PedalPresses presses;
    const auto t = PedalPresses::Clock::time_point{} + 10s;
    presses.Update(Held({0xE0, 0x04}), t);
    presses.Update({}, t + 2s);
    const auto window = 300ms;
    EXPECT_TRUE(presses.PressedNear(0x04, t - 200ms, window));  // the hook's copy came first
    EXPECT_TRUE(presses.PressedNear(0xE0, t + 250ms, window));
    EXPECT_TRUE(presses.PressedNear(0x04, t + 1500ms, window));  // still held then
    EXPECT_FALSE(presses.PressedNear(0x04, t + 2500ms, window));
    EXPECT_FALSE(presses.PressedNear(0x04, t - 1s, window));
    EXPECT_FALSE(presses.PressedNear(0x05, t, window));
    EXPECT_FALSE(presses.PressedNear(300, t, window));
}

TEST(PedalKeystrokes, APressIsToldByTheAssignmentsItMatches) {
    using Holds = std::vector<std::optional<protocol::AssignmentBytes>>;
    const Holds holds{protocol::AssignmentBytes{0x01, 0x06, 0x00, 0x00},   // Ctrl+C
                      protocol::AssignmentBytes{0x02, 0x05, 0xFF, 0xFF},   // Shift+B, erased slots
                      std::nullopt,
                      protocol::AssignmentBytes{0x02, 0x00, 0x05, 0x00}};  // Shift+B again
    EXPECT_EQ(protocol::PedalsTyping({0x01, {0x06}}, holds), std::vector<int>{0});
    EXPECT_EQ(protocol::PedalsTyping({0x02, {0x05}}, holds), (std::vector<int>{1, 3}));
    EXPECT_TRUE(protocol::PedalsTyping({0x01, {0x06, 0x19}}, holds).empty());
    EXPECT_TRUE(protocol::PedalsTyping({0x00, {}}, Holds{protocol::AssignmentBytes{0, 0, 0, 0}}).empty());
    // Order of the slots aside, a held set is the assignment.
    EXPECT_EQ(protocol::KeystrokeOf(protocol::AssignmentBytes{0x00, 0x19, 0x06, 0x19}), (Keystroke{0x00, {0x06, 0x19}}));
    EXPECT_EQ(protocol::AssignmentOf({0x04, {0x04, 0x05, 0x06, 0x07}}), (protocol::AssignmentBytes{0x04, 0x04, 0x05, 0x06}));
}

}  // namespace
