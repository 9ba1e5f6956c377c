// The live pedal test with the real program: the fake pedal's keyboard
// collection sends key reports, on the configuration collection's node (a
// composite pedal) or on a node of its own with the same serial. The window
// names the pedal and selects its tab; while the key box captures, the
// pedal's keys, which reach the X server as well, do not replace the
// captured combination.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "hid/platform/descriptor/tests/KnownDescriptors.h"
#include "hid/platform/linux/tests/FakeHidTestbed.h"
#include "hid/platform/linux/tests/FakePedal.h"
#include "tests/e2e/harness/PedalReports.h"
#include "tests/e2e/harness/PixelWaits.h"
#include "tests/e2e/harness/Program.h"
#include "tests/e2e/harness/WindowPlaces.h"
#include "tests/e2e/harness/XClient.h"
#include "tests/e2e/harness/XServer.h"

namespace {

using namespace std::chrono_literals;
using namespace e2e;
using hid::platform::linux_::fakes::FakeHidTestbed;
using hid::platform::linux_::fakes::FakePedal;

constexpr std::uint8_t kKeyV = 55;
constexpr Rect kTabHeaders{8, 120, 409, 22};
constexpr Rect kPressedSign{8 + 48, 120 + 58, 353, 20};

class PedalPressE2ETest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(x.ok()) << "cannot connect to " << gServer->display; }

    // The program up with three pedals read out from `node`.
    void StartWithThreePedals(FakeHidDevice& node)
    {
        ASSERT_NO_FATAL_FAILURE(StartProgram(run));
        ASSERT_NO_FATAL_FAILURE(WaitForMainWindow(x, run, main, &origin));
        ASSERT_TRUE(WaitUntil([&] { return CountReadRequests(node) >= 1; }, 20s)) << run.Log();
        ASSERT_TRUE(WaitForQuietNode(node, 1500ms, 20s));
        x.SetFocus(*main);
        const Rect count = OnScreen(kPedalCount);
        x.Click(count.x + 12, count.cy());
        for (int i = 0; i < 2; ++i) {
            x.Key(kUp, true);
            x.Key(kUp, false);
        }
        ASSERT_TRUE(WaitUntil([&] { return !node.Written().empty() && node.Written().back()[2] == 0x02; }, 10s))
            << "no read-out of pedal 3\n" << run.Log();
        ASSERT_TRUE(WaitForQuietNode(node, 1000ms, 20s));
        ASSERT_TRUE(WaitForStillPixels(x, OnScreen({8, 120, 409, 145}), 500ms, 10s));
    }
    Rect OnScreen(const Rect& r) const { return Rect{origin.x + r.x, origin.y + r.y, r.w, r.h}; }

    // One press of the pedal: its key report, everything released, and in
    // between the system's keystrokes when `keys` are given.
    static void Press(FakeHidDevice& keyboard, const Report& held, XClient* x = nullptr,
                      const std::vector<std::uint8_t>& keys = {})
    {
        keyboard.SendInput(held);
        for (std::uint8_t key : keys)
            x->Key(key, true);
        std::this_thread::sleep_for(50ms);
        Report released(held.size(), 0x00);
        if (held.size() == 9)
            released[0] = held[0];   // the report id
        keyboard.SendInput(released);
        for (auto key = keys.rbegin(); key != keys.rend(); ++key)
            x->Key(*key, false);
    }

    XClient x{gServer->display};
    RunningProgram run;
    std::optional<xcb_window_t> main;
    Rect origin{};
};

TEST_F(PedalPressE2ETest, CompositePedalSelectsItsTabAndItsKeysDoNotReplaceACapture)
{
    FakeHidTestbed bed;
    auto description = FakePedal::Description("E2E0005");
    description.reportDescriptor = hid::platform::descriptor::known::kCompositeKeyboard;
    FakeHidDevice& node = bed.Plug(description);
    FakePedal pedal(node);
    ASSERT_NO_FATAL_FAILURE(StartWithThreePedals(node));

    // Pedal 2 types its factory Ctrl+V: the sign shows and tab 2 comes up.
    const Rect headers = OnScreen(kTabHeaders);
    const Rect sign = OnScreen(kPressedSign);
    std::vector<std::uint8_t> beforeHeaders = x.Pixels(headers);
    const std::vector<std::uint8_t> beforeSign = x.Pixels(sign);
    Press(node, {0x01, 0x01, 0x00, 0x19, 0, 0, 0, 0, 0});
    ASSERT_TRUE(WaitForRepaint(x, sign, beforeSign, 10s)) << "no sign after the pedal press\n" << run.Log();
    ASSERT_TRUE(WaitForRepaint(x, headers, beforeHeaders, 10s)) << "the pedal's tab was not selected";
    ASSERT_TRUE(WaitForStillPixels(x, OnScreen(kWholeWindow), 500ms, 10s));
    Screenshot("e2e-pedal-press.png");
    // The same as a click on "Pedal 2" after "Pedal 1".
    const std::vector<std::uint8_t> pedalTwo = x.Pixels(headers);
    const Rect firstTab = OnScreen({8 + 20, 120 + 4, 1, 14});
    x.Click(firstTab.cx(), firstTab.cy());
    ASSERT_TRUE(WaitForRepaint(x, headers, pedalTwo, 10s));
    const Rect secondTab = OnScreen(kSecondTab);
    x.Click(secondTab.cx(), secondTab.cy());
    ASSERT_TRUE(WaitUntil([&] { return x.Pixels(headers) == pedalTwo; }, 10s)) << "pedal 2's tab was not the one";

    // Ctrl+Shift+A captured for pedal 2; then the pedal tried, its Ctrl+V
    // reaching the X server as well: the box keeps Ctrl+Shift+A.
    const Rect keyEdit = OnScreen(kKeyEdit);
    ASSERT_TRUE(WaitForStillPixels(x, keyEdit, 500ms, 10s));
    x.Click(keyEdit.cx(), keyEdit.cy());   // it may hold the focus already
    ASSERT_TRUE(WaitForStillPixels(x, keyEdit, 500ms, 10s));
    std::vector<std::uint8_t> before = x.Pixels(keyEdit);
    for (std::uint8_t key : {kControlL, kShiftL, kKeyA})
        x.Key(key, true);
    for (std::uint8_t key : {kKeyA, kShiftL, kControlL})
        x.Key(key, false);
    ASSERT_TRUE(WaitForRepaint(x, keyEdit, before, 10s)) << "the captured keys did not show";
    std::this_thread::sleep_for(700ms);   // the user's keys are well apart from the pedal's
    Press(node, {0x01, 0x01, 0x00, 0x19, 0, 0, 0, 0, 0}, &x, {kControlL, kKeyV});

    const Rect writeIn = OnScreen(kWriteIn);
    ASSERT_TRUE(WaitForStillPixels(x, OnScreen(kWholeWindow), 500ms, 10s));
    x.Click(writeIn.cx(), writeIn.cy());
    ASSERT_NO_FATAL_FAILURE(ConfirmBox(x, run, kWriteInTitle));
    EXPECT_EQ(pedal.firmware().GetSlot(1), (sim::PedalFirmware::Slot{0x03, 0x04, 0x00, 0x00}))
        << "the pedal's own keys replaced the captured combination";
    ASSERT_NO_FATAL_FAILURE(CloseProgram(x, *main, run));
}

TEST_F(PedalPressE2ETest, KeyboardOnAnInterfaceOfItsOwnTellsThePedal)
{
    FakeHidTestbed bed;
    FakeHidDevice& node = bed.Plug(FakePedal::Description("E2E0006"));
    FakePedal pedal(node);
    auto keys = FakePedal::Description("E2E0006");
    keys.reportDescriptor = hid::platform::descriptor::known::kBootKeyboard;
    FakeHidDevice& keyboard = bed.Plug(keys);
    ASSERT_NO_FATAL_FAILURE(StartWithThreePedals(node));

    // Pedal 3's Enter, in boot reports without a report id.
    const Rect headers = OnScreen(kTabHeaders);
    const std::vector<std::uint8_t> before = x.Pixels(headers);
    Press(keyboard, {0x00, 0x00, 0x28, 0, 0, 0, 0, 0});
    ASSERT_TRUE(WaitForRepaint(x, headers, before, 10s)) << "the pedal's tab was not selected\n" << run.Log();
    ASSERT_TRUE(WaitForStillPixels(x, OnScreen(kWholeWindow), 500ms, 10s));
    Screenshot("e2e-pedal-press-own-interface.png");
    EXPECT_TRUE(keyboard.Written().empty());
    ASSERT_NO_FATAL_FAILURE(CloseProgram(x, *main, run));
}

}  // namespace
