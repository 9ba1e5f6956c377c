// The whole program as a user meets it: the real varnok-setup binary on an X
// server of its own (Xvfb), a fake pedal on the umockdev testbed, and a "user"
// who clicks and types through XTest. The test reads what the pedal received.
//
// Runs under umockdev-wrapper; the program is started from this process and so
// sees the testbed. Exit 77 (skipped) when the testbed or Xvfb cannot run.
//
// Environment of the program: DISPLAY of our Xvfb, Qt's xcb platform, the
// hook library beside the program as it is built (build/bin).
#include <gtest/gtest.h>

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "hid/platform/linux/tests/FakeHidTestbed.h"
#include "hid/platform/linux/tests/FakePedal.h"
#include "tests/e2e/harness/Main.h"
#include "tests/e2e/harness/PedalReports.h"
#include "tests/e2e/harness/PixelWaits.h"
#include "tests/e2e/harness/Process.h"
#include "tests/e2e/harness/Program.h"
#include "tests/e2e/harness/WindowPlaces.h"
#include "tests/e2e/harness/XClient.h"
#include "tests/e2e/harness/XServer.h"

namespace {

using namespace std::chrono_literals;
using namespace e2e;
using hid::platform::linux_::fakes::FakeHidDevice;
using hid::platform::linux_::fakes::FakeHidTestbed;
using hid::platform::linux_::fakes::FakePedal;
using Report = FakeHidDevice::Report;

// Share of clearly red and clearly green pixels in an image of Pixels().
struct Colours {
    double red = 0;
    double green = 0;
};
Colours CountColours(const std::vector<std::uint8_t>& pixels)
{
    Colours result;
    const std::size_t count = pixels.size() / 4;
    if (count == 0)
        return result;
    std::size_t red = 0, green = 0;
    for (std::size_t i = 0; i + 3 < pixels.size(); i += 4) {
        const int b = pixels[i], g = pixels[i + 1], r = pixels[i + 2];
        if (r > 150 && r > g + 60 && r > b + 60)
            ++red;
        if (g > 120 && g > r + 40 && g > b + 40)
            ++green;
    }
    result.red = static_cast<double>(red) / static_cast<double>(count);
    result.green = static_cast<double>(green) / static_cast<double>(count);
    return result;
}



// Each case talks to the test's X server through its own connection, with
// XTest for keys and clicks.
class E2EWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(x.ok()) << "cannot connect to " << gServer->display;
        ASSERT_TRUE(x.HasXTest()) << "the X server has no XTEST extension";
    }

    XClient x{gServer->display};
};

TEST_F(E2EWindowTest, CaptureWriteInUnplugAndReplugWithTheRealProgram)
{

    // The pedal, plugged before the program starts, with its factory
    // assignments: Ctrl+C, Ctrl+V, Enter.
    FakeHidTestbed bed;
    FakeHidDevice& node = bed.Plug(FakePedal::Description("E2E0001"));
    FakePedal pedal(node);
    ASSERT_EQ(pedal.firmware().GetSlot(0), sim::PedalFirmware::DefaultSlot(0));

    // The program, on our X server; it inherits the testbed from this process.
    RunningProgram run;
    ASSERT_NO_FATAL_FAILURE(StartProgram(run));
    ChildProcess& program = run.process;
    auto programLog = [&run] { return run.Log(); };

    // The window comes up; a start-up error box (titled after the program)
    // would mean the hook library or its block failed.
    std::optional<xcb_window_t> main;
    ASSERT_TRUE(WaitUntil(
        [&] {
            main = x.FindViewable(kMainTitle);
            return main.has_value() || !program.Alive();
        },
        20s))
        << "the main window did not appear\n" << programLog();
    ASSERT_TRUE(program.Alive()) << DescribeStatus(*program.status()) << "\n" << programLog();
    ASSERT_FALSE(x.FindViewable("varnok-setup").has_value()) << "start-up error box shown\n" << programLog();

    const std::optional<Rect> window = x.Geometry(*main);
    ASSERT_TRUE(window.has_value());
    EXPECT_EQ(window->x, 561);
    EXPECT_EQ(window->y, 168);
    EXPECT_EQ(window->w, 426);
    EXPECT_EQ(window->h, 338);
    auto onScreen = [&window](const Rect& r) { return Rect{window->x + r.x, window->y + r.y, r.w, r.h}; };
    const Rect keyEdit = onScreen(kKeyEdit);
    const Rect writeIn = onScreen(kWriteIn);
    const Rect statusPicture = onScreen(kStatusPicture);

    // The scan found the pedal and read it out (pedal count 1: pedal 0 only).
    ASSERT_TRUE(WaitUntil([&] { return CountReadRequests(node) >= 1; }, 20s))
        << "no read request reached the pedal\n" << programLog();
    // Read-outs at the scan and the answers to them are done before the user
    // acts; an answer decoded later would overwrite the captured keys.
    ASSERT_TRUE(WaitForQuietNode(node, 1500ms, 20s)) << "the program keeps writing to the pedal";
    for (const Report& report : node.Written())
        EXPECT_TRUE(IsReadRequest(report)) << "unexpected report before any user action: " << Hex(report);
    ASSERT_TRUE(WaitForStillPixels(x, onScreen({0, 0, 426, 338}), 500ms, 10s));
    const Colours found = CountColours(x.Pixels(statusPicture));
    EXPECT_GT(found.green, found.red) << "the status picture is not the connected (green) one";

    // The window becomes the active window (no window manager here: the
    // input focus is set on it directly), then the user clicks into the key
    // edit box. Its focus-in switches the keyboard hook on; the box repaints
    // with its focus frame after that handler has run.
    x.SetFocus(*main);
    ASSERT_EQ(x.Focus(), *main);
    ASSERT_TRUE(WaitForStillPixels(x, keyEdit, 500ms, 10s));
    const std::vector<std::uint8_t> beforeClick = x.Pixels(keyEdit);
    x.Click(keyEdit.cx(), keyEdit.cy());
    ASSERT_TRUE(WaitForRepaint(x, keyEdit, beforeClick, 10s)) << "the key edit box did not take the focus";
    ASSERT_EQ(x.Focus(), *main) << "the click moved the input focus away from the window";

    // Ctrl+Shift+A, pressed and released in reverse.
    const std::vector<std::uint8_t> beforeKeys = x.Pixels(keyEdit);
    x.Key(kControlL, true);
    x.Key(kShiftL, true);
    x.Key(kKeyA, true);
    x.Key(kKeyA, false);
    x.Key(kShiftL, false);
    x.Key(kControlL, false);
    ASSERT_TRUE(WaitForRepaint(x, keyEdit, beforeKeys, 10s)) << "the captured keys did not show in the key edit box";

    // Write in: one write report for pedal 1, then the confirmation box.
    const std::size_t writtenBefore = node.Written().size();
    x.Click(writeIn.cx(), writeIn.cy());
    ASSERT_TRUE(node.WaitForWritten(writtenBefore + 1, 10s)) << "no report after the click on Write in";
    std::optional<xcb_window_t> box;
    ASSERT_TRUE(WaitUntil(
        [&] {
            box = x.FindViewable(kWriteInTitle);
            return box.has_value();
        },
        10s))
        << "no \"Write in\" box\n" << programLog();
    const std::optional<Rect> boxPlace = x.Geometry(*box);
    ASSERT_TRUE(boxPlace.has_value());
    ASSERT_TRUE(WaitForStillPixels(x, *boxPlace, 500ms, 10s));
    Screenshot("e2e-write-in.png");

    // The user presses Return on the box.
    x.SetFocus(*box);
    x.Key(kReturn, true);
    x.Key(kReturn, false);
    ASSERT_TRUE(WaitUntil([&] { return !x.FindViewable(kWriteInTitle).has_value(); }, 10s))
        << "the \"Write in\" box did not close on Return";

    std::vector<Report> writes;
    for (const Report& report : node.Written()) {
        if (report.size() >= 2 && report[1] == 0x02)
            writes.push_back(report);
    }
    ASSERT_EQ(writes.size(), 1u) << "one write report for the one pedal handled";
    EXPECT_EQ(Hex(writes[0]), Hex(Report{0x02, 0x02, 0x00, 0x03, 0x04, 0x00, 0x00, 0x00}));
    EXPECT_EQ(pedal.firmware().GetSlot(0), (sim::PedalFirmware::Slot{0x03, 0x04, 0x00, 0x00}));
    EXPECT_EQ(pedal.firmware().GetSlot(1), sim::PedalFirmware::DefaultSlot(1));
    EXPECT_EQ(pedal.firmware().GetSlot(2), sim::PedalFirmware::DefaultSlot(2));
    EXPECT_EQ(pedal.firmware().WriteCount(), 1u);

    // Unplugged: the program must run on and show the no-pedal state. The
    // testbed sends the "remove" events while the device is still in sysfs,
    // as the kernel may: the rescan must not find the departed pedal there.
    const std::vector<std::uint8_t> beforeUnplug = x.Pixels(statusPicture);
    bed.Unplug(node);
    ASSERT_TRUE(WaitUntil(
        [&] {
            const Colours c = CountColours(x.Pixels(statusPicture));
            return x.Pixels(statusPicture) != beforeUnplug && c.red > c.green;
        },
        10s))
        << "the window does not show the no-pedal state after the unplug\n" << programLog();
    ASSERT_TRUE(program.Alive()) << "the program ended after the unplug: " << DescribeStatus(*program.status())
                                 << "\n" << programLog();
    ASSERT_TRUE(x.FindViewable(kMainTitle).has_value()) << "the main window is gone after the unplug";

    // Another HID device (not a pedal) is neither listed nor written to.
    auto otherDevice = FakePedal::Description("OTHER01");
    otherDevice.productId = 0x05E2;   // same vendor, another product: not a pedal
    otherDevice.product = "Other HID device";
    FakeHidDevice& other = bed.Plug(otherDevice);
    std::this_thread::sleep_for(1s);
    const Colours stillRed = CountColours(x.Pixels(statusPicture));
    EXPECT_GT(stillRed.red, stillRed.green) << "a device that is not a pedal was taken for one";
    ASSERT_TRUE(WaitForStillPixels(x, onScreen({0, 0, 426, 338}), 500ms, 10s));
    EXPECT_TRUE(other.Written().empty()) << "reports were written to a device that is not a pedal";
    ASSERT_TRUE(program.Alive()) << DescribeStatus(*program.status()) << "\n" << programLog();
    Screenshot("e2e-unplugged.png");

    // Plugged in again (a new node): the program finds it and reads it out.
    FakeHidDevice& again = bed.Plug(FakePedal::Description("E2E0002"));
    FakePedal pedalAgain(again);
    ASSERT_TRUE(WaitUntil([&] { return CountReadRequests(again) >= 1; }, 20s))
        << "no read request after the pedal came back\n" << programLog();
    ASSERT_TRUE(WaitForQuietNode(again, 1000ms, 20s));
    ASSERT_TRUE(WaitForStillPixels(x, onScreen({0, 0, 426, 338}), 500ms, 10s));
    const Colours back = CountColours(x.Pixels(statusPicture));
    EXPECT_GT(back.green, back.red) << "the status picture did not turn back to the connected one";
    EXPECT_TRUE(program.Alive());

    ASSERT_NO_FATAL_FAILURE(CloseProgram(x, *main, run));
}

// Tab in the key box moves the focus on and is not captured; a click on
// another tab takes the focus back and the combination pressed then is the
// one written in. A mouse and a keyboard plugged in and out before "Write in"
// change nothing of the unsaved assignment and start no read-out.
TEST_F(E2EWindowTest, TabInTheKeyBoxThenATabClickAndOtherDevicesBeforeWriteIn)
{
    FakeHidTestbed bed;
    FakeHidDevice& node = bed.Plug(FakePedal::Description("E2E0004"));
    FakePedal pedal(node);

    RunningProgram run;
    ASSERT_NO_FATAL_FAILURE(StartProgram(run));
    std::optional<xcb_window_t> main;
    ASSERT_NO_FATAL_FAILURE(WaitForMainWindow(x, run, main));
    const std::optional<Rect> window = x.Geometry(*main);
    ASSERT_TRUE(window.has_value());
    auto onScreen = [&window](const Rect& r) { return Rect{window->x + r.x, window->y + r.y, r.w, r.h}; };
    const Rect keyEdit = onScreen(kKeyEdit);
    const Rect pedalCount = onScreen(kPedalCount);
    const Rect secondTab = onScreen(kSecondTab);
    const Rect writeIn = onScreen(kWriteIn);
    const Rect whole = onScreen({0, 0, 426, 338});
    ASSERT_TRUE(WaitUntil([&] { return CountReadRequests(node) >= 1; }, 20s)) << run.Log();
    ASSERT_TRUE(WaitForQuietNode(node, 1500ms, 20s));
    ASSERT_TRUE(WaitForStillPixels(x, whole, 500ms, 10s));
    x.SetFocus(*main);

    // Into the key box, then Tab: the focus moves on.
    std::vector<std::uint8_t> before = x.Pixels(keyEdit);
    x.Click(keyEdit.cx(), keyEdit.cy());
    ASSERT_TRUE(WaitForRepaint(x, keyEdit, before, 10s)) << "the key edit box did not take the focus";
    before = x.Pixels(keyEdit);
    x.Key(kTab, true);
    x.Key(kTab, false);
    ASSERT_TRUE(WaitForRepaint(x, keyEdit, before, 10s)) << "Tab did not take the focus out of the key box";

    // Two pedals: the count up by one; its read-out is answered.
    x.Click(pedalCount.x + 12, pedalCount.cy());
    x.Key(kUp, true);
    x.Key(kUp, false);
    ASSERT_TRUE(WaitUntil([&] { return CountReadRequests(node) >= 2 && node.Written().back()[2] == 0x01; }, 10s))
        << "no read-out of two pedals after the count went up";
    ASSERT_TRUE(WaitForQuietNode(node, 1000ms, 20s));
    // (the pedal count's text cursor blinks: the tabs alone hold still)
    ASSERT_TRUE(WaitForStillPixels(x, onScreen({8, 120, 409, 145}), 500ms, 10s));

    // "Pedal 2": the key box has the focus again; Ctrl+A for pedal 2.
    before = x.Pixels(keyEdit);
    x.Click(secondTab.cx(), secondTab.cy());
    ASSERT_TRUE(WaitForRepaint(x, keyEdit, before, 10s)) << "the click on Pedal 2 changed nothing";
    ASSERT_TRUE(WaitForStillPixels(x, whole, 500ms, 10s));
    before = x.Pixels(keyEdit);
    x.Key(kControlL, true);
    x.Key(kKeyA, true);
    x.Key(kKeyA, false);
    x.Key(kControlL, false);
    ASSERT_TRUE(WaitForRepaint(x, keyEdit, before, 10s)) << "the captured keys did not show";
    Screenshot("e2e-tab-then-pedal-2.png");

    // A mouse, then a keyboard, plugged in and out: nothing is read out, the
    // unsaved assignment stays.
    const std::size_t written = node.Written().size();
    const std::vector<std::uint8_t> shown = x.Pixels(whole);
    for (const auto& [serial, product, productId] :
         {std::tuple{"M1", "USB Mouse", 0xC077}, std::tuple{"K1", "USB Keyboard", 0xC31C}}) {
        auto description = FakePedal::Description(serial);
        description.vendorId = 0x046D;
        description.productId = static_cast<std::uint16_t>(productId);
        description.product = product;
        FakeHidDevice& other = bed.Plug(description);
        std::this_thread::sleep_for(1s);
        bed.Unplug(other);
        std::this_thread::sleep_for(1s);
        ASSERT_TRUE(WaitForStillPixels(x, whole, 500ms, 10s));
        EXPECT_EQ(node.Written().size(), written) << product << ": the program wrote to the pedal";
        EXPECT_TRUE(x.Pixels(whole) == shown) << product << ": the window changed";
        ASSERT_TRUE(run.process.Alive()) << run.Log();
    }

    x.Click(writeIn.cx(), writeIn.cy());
    ASSERT_NO_FATAL_FAILURE(ConfirmBox(x, run, kWriteInTitle));

    std::vector<Report> writes;
    for (const Report& report : node.Written())
        if (report.size() >= 2 && report[1] == 0x02)
            writes.push_back(report);
    ASSERT_EQ(writes.size(), 2u) << "one write report for each of the two pedals";
    EXPECT_EQ(Hex(writes[0]), Hex(Report{0x02, 0x02, 0x00, 0x01, 0x06, 0x00, 0x00, 0x00}));
    EXPECT_EQ(Hex(writes[1]), Hex(Report{0x02, 0x02, 0x01, 0x01, 0x04, 0x00, 0x00, 0x00}));
    EXPECT_EQ(pedal.firmware().GetSlot(1), (sim::PedalFirmware::Slot{0x01, 0x04, 0x00, 0x00}));
    ASSERT_NO_FATAL_FAILURE(CloseProgram(x, *main, run));
}

// The test runs as root, for whom file modes refuse nothing: the program runs
// without the capabilities that override them.
std::vector<std::string> WithoutFileModeOverride()
{
    if (::geteuid() != 0)
        return {};
    return {"setpriv", "--inh-caps=-dac_override,-dac_read_search",
            "--bounding-set=-dac_override,-dac_read_search", "--"};
}

// A pedal whose node this user may not open for reading and writing: the
// program tells how to allow access, and Write in reports the failure instead
// of "Setup Done!". Nothing reaches the pedal.
TEST_F(E2EWindowTest, PedalWithoutAccessRightsWarnsAndWriteInFails)
{

    FakeHidTestbed bed;
    FakeHidDevice& node = bed.Plug(FakePedal::Description("E2E0003"));
    FakePedal pedal(node);
    node.SetAccessRefused(true);   // mode 000 on the node

    RunningProgram run;
    ASSERT_NO_FATAL_FAILURE(StartProgram(run, WithoutFileModeOverride()));
    ChildProcess& program = run.process;

    // The main window and the warning box have the same title; the box
    // belongs to the main window.
    std::vector<xcb_window_t> shown;
    ASSERT_TRUE(WaitUntil(
        [&] {
            shown = x.AllViewable(kMainTitle);
            return shown.size() >= 2 || !program.Alive();
        },
        20s))
        << "no warning box next to the main window\n" << run.Log();
    ASSERT_TRUE(program.Alive()) << DescribeStatus(*program.status()) << "\n" << run.Log();
    ASSERT_EQ(shown.size(), 2u) << run.Log();
    ASSERT_FALSE(x.FindViewable("varnok-setup").has_value()) << "start-up error box shown\n" << run.Log();
    const bool firstIsMain = x.TransientFor(shown[0]) == XCB_NONE;
    const xcb_window_t main = firstIsMain ? shown[0] : shown[1];
    const xcb_window_t warning = firstIsMain ? shown[1] : shown[0];
    ASSERT_EQ(x.TransientFor(main), xcb_window_t{XCB_NONE});
    ASSERT_EQ(x.TransientFor(warning), main) << "the second window is not a box of the main window";

    const std::optional<Rect> window = x.Geometry(main);
    ASSERT_TRUE(window.has_value());
    ASSERT_EQ(window->w, 426);
    ASSERT_EQ(window->h, 338);
    const std::optional<Rect> warningPlace = x.Geometry(warning);
    ASSERT_TRUE(warningPlace.has_value());
    ASSERT_TRUE(WaitForStillPixels(x, *warningPlace, 500ms, 10s));
    // A warning (its icon has no red), with text of several lines.
    const Colours warningColours = CountColours(x.Pixels(*warningPlace));
    EXPECT_LT(warningColours.red, 0.001) << "the access box does not look like a warning";
    EXPECT_GT(warningPlace->h, 120) << "the access box is too small for its advice";
    Screenshot("e2e-access-refused.png");

    x.SetFocus(warning);
    x.Key(kReturn, true);
    x.Key(kReturn, false);
    ASSERT_TRUE(WaitUntil([&] { return !x.Viewable(warning); }, 10s)) << "the warning box did not close on Return";
    EXPECT_TRUE(node.Written().empty()) << "a report reached the pedal the program may not open";

    // Write in is enabled while a pedal is found; its box reports the failure.
    const Rect writeIn{window->x + kWriteIn.x, window->y + kWriteIn.y, kWriteIn.w, kWriteIn.h};
    ASSERT_TRUE(WaitForStillPixels(x, *window, 500ms, 10s));
    Screenshot("e2e-access-not-usable.png");
    // Found but not usable: never polled.
    std::this_thread::sleep_for(1200ms);
    EXPECT_TRUE(node.Written().empty()) << "the program polls a pedal it may not open";
    x.SetFocus(main);
    x.Click(writeIn.cx(), writeIn.cy());
    std::optional<xcb_window_t> box;
    ASSERT_TRUE(WaitUntil(
        [&] {
            box = x.FindViewable(kWriteInTitle);
            return box.has_value();
        },
        10s))
        << "no \"Write in\" box\n" << run.Log();
    const std::optional<Rect> boxPlace = x.Geometry(*box);
    ASSERT_TRUE(boxPlace.has_value());
    ASSERT_TRUE(WaitForStillPixels(x, *boxPlace, 500ms, 10s));
    // The error box, not "Setup Done!": that one has the (yellow) warning
    // icon and one line of text in a box 84 pixels high; the error box has
    // the red error icon and several lines.
    const Colours boxColours = CountColours(x.Pixels(*boxPlace));
    EXPECT_GT(boxColours.red, 0.002) << "no red error icon in the \"Write in\" box";
    EXPECT_GT(boxPlace->h, 110) << "the \"Write in\" box is as small as the \"Setup Done!\" box";
    Screenshot("e2e-access-write-in.png");

    x.SetFocus(*box);
    x.Key(kReturn, true);
    x.Key(kReturn, false);
    ASSERT_TRUE(WaitUntil([&] { return !x.FindViewable(kWriteInTitle).has_value(); }, 10s))
        << "the \"Write in\" box did not close on Return";

    EXPECT_TRUE(node.Written().empty()) << "a report reached the pedal the program may not open";
    EXPECT_EQ(pedal.firmware().WriteCount(), 0u);
    ASSERT_EQ(x.AllViewable(kMainTitle), std::vector<xcb_window_t>{main}) << "another box is up";
    ASSERT_NO_FATAL_FAILURE(CloseProgram(x, main, run));
}

}  // namespace

int main(int argc, char** argv)
{
    return e2e::RunWithXServer(argc, argv);
}
