// The real program as a screen reader meets it: AT-SPI, the stack Orca uses.
// The program runs on the tests' Xvfb with the accessibility bus on; a client
// on Debian's python3 with pyatspi (access_client.py) presses a combination
// into the key box, checks every control's name, role and states, walks the
// focus with Tab and Shift+Tab and presses "Write in" through its accessible
// action. The fake pedal on the umockdev testbed then holds the write report.
//
// Runs under umockdev-wrapper; exit 77 (skipped) without the testbed or Xvfb.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "hid/platform/linux/tests/FakeHidTestbed.h"
#include "hid/platform/linux/tests/FakePedal.h"
#include "tests/e2e/harness/AccessibilityBus.h"
#include "tests/e2e/harness/Main.h"
#include "tests/e2e/harness/PedalReports.h"
#include "tests/e2e/harness/Process.h"
#include "tests/e2e/harness/Program.h"
#include "tests/e2e/harness/XClient.h"
#include "tests/e2e/harness/XServer.h"

namespace {

using namespace e2e;
using hid::platform::linux_::fakes::FakeHidTestbed;
using hid::platform::linux_::fakes::FakePedal;

// The client's "registry pid N" line, or 0.
pid_t RegistryPid(const std::string& output)
{
    const std::string tag = "registry pid ";
    const std::size_t at = output.find(tag);
    return at == std::string::npos ? 0 : static_cast<pid_t>(std::stol(output.substr(at + tag.size())));
}

TEST(AccessTest, ScreenReaderClientNamesEveryControlAndWritesInThroughTheButtonsAction)
{
    XClient x(gServer->display);
    ASSERT_TRUE(x.ok()) << "cannot connect to " << gServer->display;
    AccessibilityBus bus(VARNOK_ATSPI_BUS_LAUNCHER, gServer->display);
    ASSERT_TRUE(bus.ok()) << "the session bus or the accessibility bus did not start\n" << bus.LauncherLog();

    FakeHidTestbed bed;
    FakeHidDevice& node = bed.Plug(FakePedal::Description("A11Y0001"));
    FakePedal pedal(node);

    // Qt 6 joins the accessibility bus only when it is on before the program
    // starts, or with this variable.
    RunningProgram run;
    std::vector<std::string> environment = bus.ClientEnvironment(gServer->display);
    environment.emplace_back("QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1");
    ASSERT_NO_FATAL_FAILURE(StartProgram(run, {}, environment));
    std::optional<xcb_window_t> main;
    ASSERT_NO_FATAL_FAILURE(WaitForMainWindow(x, run, main));
    // The scan's read-out is answered before the user acts.
    ASSERT_TRUE(WaitUntil([&] { return CountReadRequests(node) >= 1; }, 20s)) << run.Log();
    ASSERT_TRUE(WaitForQuietNode(node, 1500ms, 20s));
    // No window manager: the window gets the input focus directly.
    x.SetFocus(*main);

    TempFile clientOutput;
    ChildProcess client(Spawn({"/usr/bin/python3", VARNOK_ACCESS_CLIENT, "--serial", "A11Y0001", "--pedal",
                               "Varnok foot switch (SN:A11Y0001)", "--key-text",
                               "Ctrl+Shift+A"},
                              Environment(AccessibilityBus::kDropped, bus.ClientEnvironment(gServer->display)),
                              clientOutput.path));
    ASSERT_GT(client.pid(), 0);
    const std::optional<int> status = client.WaitFor(240s);
    const std::string output = ReadFile(clientOutput.path);
    EXPECT_TRUE(AccessibilityBus::EndRegistry(RegistryPid(output))) << "the registry did not end\n" << output;
    ASSERT_TRUE(status.has_value()) << "the client did not finish\n" << output;
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0)
        << DescribeStatus(*status) << "\nclient output:\n" << output << run.Log();

    // The accessible press reached the program's handler: one write report.
    std::vector<Report> writes;
    for (const Report& report : node.Written()) {
        if (report.size() >= 2 && report[1] == 0x02)
            writes.push_back(report);
    }
    ASSERT_EQ(writes.size(), 1u) << output;
    EXPECT_EQ(Hex(writes[0]), Hex(Report{0x02, 0x02, 0x00, 0x03, 0x04, 0x00, 0x00, 0x00}));
    EXPECT_EQ(pedal.firmware().GetSlot(0), (sim::PedalFirmware::Slot{0x03, 0x04, 0x00, 0x00}));
    ASSERT_NO_FATAL_FAILURE(CloseProgram(x, *main, run));
}

}  // namespace

int main(int argc, char** argv)
{
    return e2e::RunWithXServer(argc, argv);
}
