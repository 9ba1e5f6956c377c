// What a raw press or release means, with several keyboards at once.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "hookmod/KeyStateTracker.h"

namespace hooktest {
namespace {

constexpr std::uint8_t kCtrl = 37;
constexpr std::uint8_t kC = 54;
constexpr std::uint16_t kKeyboard = 10;
constexpr std::uint16_t kPedal = 14;

struct Step {
    bool press;
    std::uint8_t keycode;
    std::uint16_t source;
    // Press: "press" or "repeat"; release: "release" or "-" (not reported).
    const char* meaning;
};

struct Scenario {
    const char* what;
    bool ctrlDownAtStart;
    std::vector<Step> steps;
};

TEST(KeyStateTracker, AKeyIsUpOnlyWhenNoDeviceHoldsIt) {
    const Scenario table[] = {
        {"the pedal's Ctrl+C while the keyboard holds Ctrl",
         false,
         {{true, kCtrl, kKeyboard, "press"},
          {true, kCtrl, kPedal, "repeat"},
          {true, kC, kPedal, "press"},
          {false, kC, kPedal, "release"},
          {false, kCtrl, kPedal, "-"},
          {false, kCtrl, kKeyboard, "release"},
          {true, kCtrl, kKeyboard, "press"},
          {false, kCtrl, kKeyboard, "release"}}},
        {"a release repeated by the server is reported once",
         false,
         {{true, kC, kKeyboard, "press"}, {false, kC, kKeyboard, "release"}, {false, kC, kKeyboard, "-"}}},
        {"a key held when the hook went on is released by whichever device lets it go",
         true,
         {{true, kCtrl, kPedal, "repeat"},
          {false, kCtrl, kPedal, "-"},
          {false, kCtrl, kKeyboard, "release"},
          {false, kCtrl, kKeyboard, "-"}}},
        {"a device's release of a key only another device holds is no release",
         false,
         {{true, kCtrl, kKeyboard, "press"}, {false, kCtrl, kPedal, "-"}, {false, kCtrl, kKeyboard, "release"}}},
    };
    for (const Scenario& scenario : table) {
        SCOPED_TRACE(scenario.what);
        hookmod::KeyStateTracker tracker;
        std::array<std::uint8_t, 32> keymap{};
        if (scenario.ctrlDownAtStart) keymap[kCtrl / 8] |= 1u << (kCtrl % 8);
        tracker.Reset(keymap);
        std::vector<std::string> got, expected;
        for (const Step& step : scenario.steps) {
            expected.push_back(step.meaning);
            if (step.press)
                got.push_back(tracker.Press(step.keycode, step.source) ? "repeat" : "press");
            else
                got.push_back(tracker.Release(step.keycode, step.source) ? "release" : "-");
        }
        EXPECT_EQ(got, expected);
        EXPECT_FALSE(tracker.IsDown(kCtrl));
        EXPECT_FALSE(tracker.IsDown(kC));
    }
}

}  // namespace
}  // namespace hooktest
