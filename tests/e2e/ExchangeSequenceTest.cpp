// Sequences in which something happens while the window talks to the pedal
// (another device arrives during a read-out, the window is closed during a
// write-in) or a key is held across a tab change. The real program, a fake pedal on the testbed; at the end the
// pedal holds what the window showed for each row, and no row was erased.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "hid/platform/linux/tests/FakeHidTestbed.h"
#include "hid/platform/linux/tests/FakePedal.h"
#include "sim/PedalFirmware.h"
#include "tests/e2e/harness/PedalReports.h"
#include "tests/e2e/harness/PixelWaits.h"
#include "tests/e2e/harness/Process.h"
#include "tests/e2e/harness/Program.h"
#include "tests/e2e/harness/WatchedPedal.h"
#include "tests/e2e/harness/WindowPlaces.h"
#include "tests/e2e/harness/XClient.h"
#include "tests/e2e/harness/XServer.h"

namespace {

using namespace std::chrono_literals;
using namespace e2e;
using hid::platform::linux_::fakes::FakeHidTestbed;
using hid::platform::linux_::fakes::FakePedal;
using Slot = sim::PedalFirmware::Slot;

// Ctrl+C, Shift+B, Alt+1: what the pedal holds before the program starts.
constexpr std::array<Slot, 3> kHeld{Slot{0x01, 0x06, 0x00, 0x00}, Slot{0x02, 0x05, 0x00, 0x00},
                                    Slot{0x04, 0x1E, 0x00, 0x00}};
// Ctrl+Shift+A, captured for pedal 1.
constexpr Slot kCaptured{0x03, 0x04, 0x00, 0x00};

Report ReadRequest(std::uint8_t pedal) { return {0x02, 0x01, pedal, 0x00, 0x00, 0x00, 0x00, 0x00}; }
Report WriteReport(std::uint8_t pedal, const Slot& slot)
{
    return {0x02, 0x02, pedal, slot[0], slot[1], slot[2], slot[3], 0x00};
}

// What the user does with the keys before "Write in".
enum class Keys {
    None,
    CaptureOnPedalOne,         // Ctrl+Shift+A on pedal 1
    CtrlHeldAcrossTabChange,   // Ctrl pressed on pedal 1, tab "Pedal 2" clicked, Ctrl released
};
enum class Moment {
    Never,                     // nothing happens during an exchange
    ReadOutAfterCountChange,   // the first read request of the read-out the new count starts
    WriteIn,                   // the first write report of "Write in"
};
enum class Action {
    None,
    PlugKeyboard,   // another HID device arrives: a device change, the same pedal
    CloseWindow,    // the title bar's close button (WM_DELETE_WINDOW)
};

struct Sequence {
    const char* name;
    Keys keys;
    Moment moment;   // when the action falls
    Action action;
};
void PrintTo(const Sequence& sequence, std::ostream* out) { *out << sequence.name; }

class ExchangeSequenceTest : public testing::TestWithParam<Sequence> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(x.ok()) << "cannot connect to " << gServer->display;
        ASSERT_TRUE(x.HasXTest()) << "the X server has no XTEST extension";
    }

    Rect OnScreen(const Rect& r) const { return {window.x + r.x, window.y + r.y, r.w, r.h}; }

    // Starts the program and waits until its read-out at the scan is over.
    void Start()
    {
        ASSERT_NO_FATAL_FAILURE(StartProgram(run));
        ASSERT_NO_FATAL_FAILURE(WaitForMainWindow(x, run, main));
        const std::optional<Rect> place = x.Geometry(*main);
        ASSERT_TRUE(place.has_value());
        window = *place;
        ASSERT_TRUE(WaitUntil([&] { return CountReadRequests(node) >= 1; }, 20s)) << run.Log();
        ASSERT_TRUE(WaitForQuietNode(node, 1500ms, 20s));
        ASSERT_TRUE(WaitForStillPixels(x, OnScreen(kWholeWindow), 500ms, 10s));
        x.SetFocus(*main);
    }

    // "3" typed over the pedal count.
    void TypeCountThree()
    {
        const Rect count = OnScreen(kPedalCount);
        x.Click(count.x + 12, count.cy());
        x.Key(kControlL, true);
        x.Key(kKeyA, true);
        x.Key(kKeyA, false);
        x.Key(kControlL, false);
        x.Key(kKey3, true);
        x.Key(kKey3, false);
    }

    void CaptureOnPedalOne()
    {
        const Rect keyEdit = OnScreen(kKeyEdit);
        std::vector<std::uint8_t> before = x.Pixels(keyEdit);
        x.Click(keyEdit.cx(), keyEdit.cy());
        ASSERT_TRUE(WaitForRepaint(x, keyEdit, before, 10s)) << "the key edit box did not take the focus";
        before = x.Pixels(keyEdit);
        x.Key(kControlL, true);
        x.Key(kShiftL, true);
        x.Key(kKeyA, true);
        x.Key(kKeyA, false);
        x.Key(kShiftL, false);
        x.Key(kControlL, false);
        ASSERT_TRUE(WaitForRepaint(x, keyEdit, before, 10s)) << "the captured keys did not show";
    }

    void HoldCtrlAcrossTabChange()
    {
        const Rect keyEdit = OnScreen(kKeyEdit);
        std::vector<std::uint8_t> before = x.Pixels(keyEdit);
        x.Click(keyEdit.cx(), keyEdit.cy());
        ASSERT_TRUE(WaitForRepaint(x, keyEdit, before, 10s)) << "the key edit box did not take the focus";
        x.Key(kControlL, true);
        ASSERT_TRUE(WaitForStillPixels(x, keyEdit, 500ms, 10s));
        before = x.Pixels(keyEdit);
        const Rect secondTab = OnScreen(kSecondTab);
        x.Click(secondTab.cx(), secondTab.cy());
        ASSERT_TRUE(WaitForRepaint(x, keyEdit, before, 10s)) << "the click on Pedal 2 changed nothing";
        x.Key(kControlL, false);
        ASSERT_TRUE(WaitForStillPixels(x, OnScreen({8, 120, 409, 145}), 500ms, 10s));
    }

    void Act(Action action)
    {
        if (action == Action::CloseWindow) {
            x.Close(*main);
            return;
        }
        auto keyboard = FakePedal::Description("K1");
        keyboard.vendorId = 0x046D;
        keyboard.productId = 0xC31C;
        keyboard.product = "USB Keyboard";
        bed.Plug(keyboard);
        // Time for the program to take in the device change.
        std::this_thread::sleep_for(1s);
    }

    std::vector<Report> Writes() const
    {
        std::vector<Report> writes;
        for (const Report& report : node.Written())
            if (report.size() >= 3 && report[1] == 0x02)
                writes.push_back(report);
        return writes;
    }

    XClient x{gServer->display};
    FakeHidTestbed bed;
    FakeHidDevice& node = bed.Plug(FakePedal::Description("E2E0010"));
    WatchedPedal pedal{node};
    RunningProgram run;
    std::optional<xcb_window_t> main;
    Rect window{};
};

TEST_P(ExchangeSequenceTest, PedalEndsHoldingWhatTheWindowShows)
{
    const Sequence& sequence = GetParam();
    for (int p = 0; p < 3; ++p)
        ASSERT_TRUE(pedal.firmware().SetSlot(p, kHeld[static_cast<std::size_t>(p)]));
    ASSERT_NO_FATAL_FAILURE(Start());

    // Pedal count 3. A pedal that answers late: the read-out is still under
    // way when the action falls.
    if (sequence.moment == Moment::ReadOutAfterCountChange)
        pedal.Arm(ReadRequest(0), true);
    TypeCountThree();
    if (sequence.moment == Moment::ReadOutAfterCountChange) {
        ASSERT_TRUE(pedal.WaitForTrigger(10s)) << "no read-out after the count changed\n" << run.Log();
        Act(sequence.action);
        pedal.Release();
    }
    ASSERT_TRUE(WaitForQuietNode(node, 1500ms, 20s));
    ASSERT_TRUE(WaitForStillPixels(x, OnScreen({8, 120, 409, 145}), 500ms, 10s));

    std::array<Slot, 3> shown = kHeld;
    if (sequence.keys == Keys::CaptureOnPedalOne) {
        ASSERT_NO_FATAL_FAILURE(CaptureOnPedalOne());
        shown[0] = kCaptured;
    }
    if (sequence.keys == Keys::CtrlHeldAcrossTabChange) {
        ASSERT_NO_FATAL_FAILURE(HoldCtrlAcrossTabChange());
    }

    if (sequence.moment == Moment::WriteIn)
        pedal.Arm(WriteReport(0, shown[0]), false);
    const Rect writeIn = OnScreen(kWriteIn);
    x.Click(writeIn.cx(), writeIn.cy());
    if (sequence.moment == Moment::WriteIn) {
        ASSERT_TRUE(pedal.WaitForTrigger(10s)) << "no write report after the click on Write in\n" << run.Log();
        Act(sequence.action);
    }

    if (sequence.action == Action::CloseWindow) {
        // The write-in runs to its end, then the program ends by itself.
        const std::optional<int> status = run.process.WaitFor(20s);
        ASSERT_TRUE(status.has_value()) << "the program did not end after the close\n" << run.Log();
        EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << DescribeStatus(*status) << "\n"
                                                                     << run.Log();
        EXPECT_FALSE(HasSanitizerReport(ReadFile(run.output.path))) << run.Log();
        const std::vector<Report> writes = Writes();
        ASSERT_EQ(writes.size(), 3u) << "a write report for each of the three pedals";
        for (std::uint8_t p = 0; p < 3; ++p)
            EXPECT_EQ(Hex(writes[p]), Hex(WriteReport(p, shown[p])));
    } else {
        ASSERT_NO_FATAL_FAILURE(ConfirmBox(x, run, kWriteInTitle));
        // A row written is written as shown; a row not written keeps its keys.
        EXPECT_FALSE(Writes().empty()) << "Write in sent nothing";
        for (const Report& write : Writes()) {
            ASSERT_LT(write[2], 3) << Hex(write);
            EXPECT_EQ(Hex(write), Hex(WriteReport(write[2], shown[write[2]]))) << "a row written as it is not shown";
        }
        ASSERT_NO_FATAL_FAILURE(CloseProgram(x, *main, run));
    }
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(pedal.firmware().GetSlot(p), shown[static_cast<std::size_t>(p)]) << "pedal " << p + 1;
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, ExchangeSequenceTest,
    testing::Values(Sequence{"KeyboardArrivesDuringTheCountReadOut", Keys::None, Moment::ReadOutAfterCountChange,
                             Action::PlugKeyboard},
                    Sequence{"WindowClosedAsTheWriteInBegins", Keys::CaptureOnPedalOne, Moment::WriteIn,
                             Action::CloseWindow},
                    Sequence{"CtrlHeldAcrossATabChange", Keys::CtrlHeldAcrossTabChange, Moment::Never,
                             Action::None}),
    [](const testing::TestParamInfo<Sequence>& info) { return std::string(info.param.name); });

}  // namespace
