// Profiles with the real program and the real command line: a file the
// command line exported opens in the window and is written in through it;
// a file the window saved is written to the pedal by the command line. Both
// through the window's context menu and Qt's own file dialog.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

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
using Slot = sim::PedalFirmware::Slot;

constexpr std::uint8_t kDown = 116;
constexpr Rect kPedalNumberLabel{60, 300, 1, 1};   // no control of its own takes the right click

class ProfileE2ETest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(x.ok()) << "cannot connect to " << gServer->display;
        char name[] = "/tmp/varnok-e2e-profiles-XXXXXX";
        ASSERT_NE(::mkdtemp(name), nullptr);
        folder = name;
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    // The command line against the testbed: its exit status and output.
    int Cli(const std::vector<std::string>& args, std::string& output)
    {
        TempFile log;
        std::vector<std::string> argv{VARNOK_PEDAL_PROGRAM};
        argv.insert(argv.end(), args.begin(), args.end());
        ChildProcess child(Spawn(argv, Environment({}, {"VARNOK_LANG=C"}), log.path));
        const std::optional<int> status = WaitForExit(child.pid(), 60s);
        output = ReadFile(log.path);
        return status && WIFEXITED(*status) ? WEXITSTATUS(*status) : -1;
    }

    void Start(FakeHidDevice& node)
    {
        // The folder the dialogs remember goes to the test's folder.
        ASSERT_NO_FATAL_FAILURE(StartProgram(run, {}, {"XDG_CONFIG_HOME=" + folder}));
        ASSERT_NO_FATAL_FAILURE(WaitForMainWindow(x, run, main, &origin));
        ASSERT_TRUE(WaitUntil([&] { return CountReadRequests(node) >= 1; }, 20s)) << run.Log();
        ASSERT_TRUE(WaitForQuietNode(node, 1500ms, 20s));
        ASSERT_TRUE(WaitForStillPixels(x, OnScreen(kWholeWindow), 500ms, 10s));
    }
    Rect OnScreen(const Rect& r) const { return Rect{origin.x + r.x, origin.y + r.y, r.w, r.h}; }

    // The context menu's `item` (0 open, 1 save), then `file` typed into the
    // file dialog titled `caption`.
    void ThroughFileDialog(int item, const char* caption, const std::string& file)
    {
        // Out of the key box first (into the count's text), as it holds the
        // keyboard while it captures.
        x.SetFocus(*main);
        const Rect count = OnScreen(kPedalCount);
        x.Click(count.x + 12, count.cy());
        const Rect at = OnScreen(kPedalNumberLabel);
        const Rect menu{at.x + 8, at.y + 4, 80, 30};
        ASSERT_TRUE(WaitForStillPixels(x, menu, 300ms, 10s));
        const std::vector<std::uint8_t> before = x.Pixels(menu);
        x.Click(at.x, at.y, 3);
        ASSERT_TRUE(WaitForRepaint(x, menu, before, 10s)) << "no context menu\n" << run.Log();
        if (item == 0) {
            ASSERT_TRUE(WaitForStillPixels(x, menu, 300ms, 10s));
            Screenshot("e2e-profile-menu.png");
        }
        for (int i = 0; i <= item; ++i) {
            x.Key(kDown, true);
            x.Key(kDown, false);
        }
        x.Key(kReturn, true);
        x.Key(kReturn, false);
        std::optional<xcb_window_t> dialog;
        ASSERT_TRUE(WaitUntil([&] { return (dialog = x.FindViewable(caption)).has_value(); }, 20s))
            << "no \"" << caption << "\" dialog\n" << run.Log();
        x.SetFocus(*dialog);
        ASSERT_TRUE(WaitUntil([&] { return x.Focus() == *dialog; }, 10s));
        std::this_thread::sleep_for(300ms);   // its file name box takes the focus as it shows
        ASSERT_TRUE(x.Type(file)) << file;
        // A completion list may take the first Return.
        const auto gone = [&] { return !x.FindViewable(caption).has_value(); };
        for (int i = 0; i < 2 && !gone(); ++i) {
            x.Key(kReturn, true);
            x.Key(kReturn, false);
            WaitUntil(gone, 5s);
        }
        ASSERT_TRUE(WaitUntil(gone, 20s)) << "the dialog did not take " << file;
    }

    void WriteIn()
    {
        const Rect writeIn = OnScreen(kWriteIn);
        ASSERT_TRUE(WaitForStillPixels(x, OnScreen(kWholeWindow), 500ms, 10s));
        x.Click(writeIn.cx(), writeIn.cy());
        ASSERT_NO_FATAL_FAILURE(ConfirmBox(x, run, kWriteInTitle, [&] {
            ASSERT_TRUE(WaitForStillPixels(x, OnScreen(kWholeWindow), 500ms, 10s));
            Screenshot("e2e-profile-written-in.png");
        }));
    }

    XClient x{gServer->display};
    RunningProgram run;
    std::optional<xcb_window_t> main;
    Rect origin{};
    std::string folder;
};

TEST_F(ProfileE2ETest, CommandLineAndWindowEachOpenWhatTheOtherSaved)
{
    FakeHidTestbed bed;
    FakeHidDevice& node = bed.Plug(FakePedal::Description("E2E0007"));
    FakePedal pedal(node);
    const Slot shiftB{0x02, 0x05, 0x00, 0x00};
    const Slot ctrlC{0x01, 0x06, 0x00, 0x00};
    std::string output;

    // Pedal → command line → file → window → pedal.
    const std::string exported = folder + "/from-cli.json";
    pedal.firmware().SetSlot(0, shiftB);
    ASSERT_EQ(Cli({"export", "--count", "1", "--file", exported}, output), 0) << output;
    pedal.firmware().SetSlot(0, ctrlC);
    ASSERT_NO_FATAL_FAILURE(Start(node));
    ASSERT_NO_FATAL_FAILURE(ThroughFileDialog(0, "Open profile", exported));
    ASSERT_NO_FATAL_FAILURE(WriteIn());
    EXPECT_EQ(pedal.firmware().GetSlot(0), shiftB) << "the exported profile was not written in";

    // Window → file → command line → pedal: Ctrl+Shift+A captured, not
    // written in, saved.
    const Rect keyEdit = OnScreen(kKeyEdit);
    x.Click(keyEdit.cx(), keyEdit.cy());
    ASSERT_TRUE(WaitForStillPixels(x, keyEdit, 500ms, 10s));
    const std::vector<std::uint8_t> before = x.Pixels(keyEdit);
    for (std::uint8_t key : {kControlL, kShiftL, kKeyA})
        x.Key(key, true);
    for (std::uint8_t key : {kKeyA, kShiftL, kControlL})
        x.Key(key, false);
    ASSERT_TRUE(WaitForRepaint(x, keyEdit, before, 10s)) << "the captured keys did not show";
    const std::string saved = folder + "/from-window.json";
    ASSERT_NO_FATAL_FAILURE(ThroughFileDialog(1, "Save profile", saved));
    ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(saved); }, 10s)) << run.Log();
    ASSERT_NO_FATAL_FAILURE(CloseProgram(x, *main, run));
    EXPECT_EQ(pedal.firmware().GetSlot(0), shiftB) << "saving wrote to the pedal";

    ASSERT_EQ(Cli({"write", "--file", saved, "--verify"}, output), 0) << output << ReadFile(saved);
    EXPECT_EQ(pedal.firmware().GetSlot(0), (Slot{0x03, 0x04, 0x00, 0x00})) << ReadFile(saved);
}

}  // namespace
