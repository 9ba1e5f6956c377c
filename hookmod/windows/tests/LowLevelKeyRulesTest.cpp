// Recorded low-level hook sequences of real Windows keyboards, and what the
// hook reports for them, by the names the program gives the key data.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "capture/KeyDataNames.h"
#include "hookmod/HookMessages.h"
#include "hookmod/windows/LowLevelKeyRules.h"

namespace hookmod::windows {
namespace {

constexpr std::uint32_t E = kFlagExtended;
constexpr std::uint32_t I = kFlagInjected;

LowLevelEvent Down(std::uint32_t vk, std::uint32_t scan, std::uint32_t flags = 0) {
    return {vk, scan, flags, false};
}
LowLevelEvent Up(std::uint32_t vk, std::uint32_t scan, std::uint32_t flags = 0) {
    return {vk, scan, flags, true};
}

struct Recording {
    const char* what;
    std::vector<LowLevelEvent> events;
    // "+Name" press, "+Name*" repeated press, "-Name" release.
    std::vector<std::string> reported;
};

std::string Describe(const HookKeyMessage& m) {
    const bool release = m.wParam == hookmsg::kKeyUp;
    std::string text(release ? "-" : "+");
    text += capture::KeyNameForMessage(m.lParam);
    if (!release && (m.lParam & hookmsg::kPreviousStateBit)) text += "*";
    return text;
}

TEST(LowLevelKeyRules, RecordedSequencesReportEachKeyByItsPosition) {
    const Recording recordings[] = {
        {"AltGr+Q on a German layout: the made-up left Ctrl 0x21D is dropped",
         {Down(0xA2, 0x21D), Down(0xA5, 0x38, E), Down('Q', 0x10), Up('Q', 0x10), Up(0xA2, 0x21D),
          Up(0xA5, 0x38, E)},
         {"+Right Alt", "+Q", "-Q", "-Right Alt"}},
        {"Shift+Num 7 with Num Lock on: the made-up Shift 0x22A around it is dropped",
         {Down(0xA0, 0x2A), Up(0xA0, 0x22A), Down(0x24, 0x47), Up(0x24, 0x47), Down(0xA0, 0x22A),
          Up(0xA0, 0x2A)},
         {"+Shift", "+Num 7", "-Num 7", "-Shift"}},
        {"Right Shift arrives with the extended flag",
         {Down(0xA1, 0x36, E), Down(0xA1, 0x36, E), Up(0xA1, 0x36, E)},
         {"+Right Shift", "+Right Shift*", "-Right Shift"}},
        {"Ctrl+Pause arrives as extended 0x46",
         {Down(0xA2, 0x1D), Down(0x03, 0x46, E), Up(0x03, 0x46, E), Up(0xA2, 0x1D)},
         {"+Ctrl", "+Pause", "-Pause", "-Ctrl"}},
        {"Alt+Print Screen arrives as 0x54",
         {Down(0xA4, 0x38), Down(0x2C, 0x54), Up(0x2C, 0x54), Up(0xA4, 0x38)},
         {"+Alt", "+Prnt Scrn", "-Prnt Scrn", "-Alt"}},
        {"VK_PACKET and injected virtual keys without a scan code name no key",
         {Down(kVkPacket, 0, I), Up(kVkPacket, 0, I), Down('A', 0, I), Up('A', 0, I), Down('B', 0x30, I),
          Up('B', 0x30, I)},
         {"+B", "-B"}},
        {"Enter and Num Enter, Home and Num 7 are held apart",
         {Down(0x0D, 0x1C), Down(0x0D, 0x1C, E), Up(0x0D, 0x1C, E), Down(0x0D, 0x1C), Up(0x0D, 0x1C),
          Down(0x24, 0x47, E), Down(0x24, 0x47), Up(0x24, 0x47, E), Up(0x24, 0x47)},
         {"+Enter", "+Num Enter", "-Num Enter", "+Enter*", "-Enter", "+Home", "+Num 7", "-Home",
          "-Num 7"}},
    };
    for (const Recording& recording : recordings) {
        SCOPED_TRACE(recording.what);
        HeldKeys held;
        std::vector<std::string> reported;
        for (const LowLevelEvent& event : recording.events)
            if (const auto message = TakeLowLevelEvent(event, false, held).message)
                reported.push_back(Describe(*message));
        EXPECT_EQ(reported, recording.reported);
    }
}

TEST(LowLevelKeyRules, AKeyHeldWhenTheHookWentOnRepeats) {
    HeldKeys held;
    held.Hold(0x1C, true);
    const auto numEnter = TakeLowLevelEvent(Down(0x0D, 0x1C, E), false, held).message;
    ASSERT_TRUE(numEnter);
    EXPECT_EQ(Describe(*numEnter), "+Num Enter*");
    const auto enter = TakeLowLevelEvent(Down(0x0D, 0x1C), false, held).message;
    ASSERT_TRUE(enter);
    EXPECT_EQ(Describe(*enter), "+Enter");
}

struct Shown {
    LowLevelEvent event;
    bool windowInFront;
    bool keptFromDesktop;
};

TEST(LowLevelKeyRules, KeysReportedWhileTheWindowIsInFrontAreKeptFromTheDesktop) {
    const std::pair<const char*, std::vector<Shown>> cases[] = {
        {"Alt+F4 in front",
         {{Down(0xA4, 0x38), true, true}, {Down(0x73, 0x3E), true, true}, {Up(0x73, 0x3E), true, true},
          {Up(0xA4, 0x38), true, true}}},
        {"Shift+Tab still moves the focus",
         {{Down(0xA0, 0x2A), true, false}, {Down(0x09, 0x0F), true, false}, {Up(0x09, 0x0F), true, false},
          {Up(0xA0, 0x2A), true, false}, {Down(0xA1, 0x36, E), true, false}, {Up(0xA1, 0x36, E), true, false}}},
        {"another window in front",
         {{Down(0x5B, 0x5B, E), false, false}, {Down('D', 0x20), false, false}, {Up('D', 0x20), false, false},
          {Up(0x5B, 0x5B, E), false, false}}},
        {"a release follows its press, a repeat its first press",
         {{Down(0xA2, 0x1D), false, false}, {Down('C', 0x2E), true, true}, {Down(0xA2, 0x1D), true, false},
          {Up(0xA2, 0x1D), true, false}, {Down('C', 0x2E), false, true}, {Up('C', 0x2E), false, true}}},
        {"AltGr: the made-up Ctrl is not reported, and goes on",
         {{Down(0xA2, 0x21D), true, false}, {Down(0xA5, 0x38, E), true, true}, {Up(0xA2, 0x21D), true, false},
          {Up(0xA5, 0x38, E), true, true}}},
    };
    for (const auto& [what, events] : cases) {
        SCOPED_TRACE(what);
        HeldKeys held;
        for (std::size_t i = 0; i < events.size(); ++i)
            EXPECT_EQ(TakeLowLevelEvent(events[i].event, events[i].windowInFront, held).keepFromDesktop,
                      events[i].keptFromDesktop)
                << "event " << i;
    }
}

}  // namespace
}  // namespace hookmod::windows
