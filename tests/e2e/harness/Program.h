// The real program under test on the tests' X server, and screenshots of it.
#pragma once

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/harness/Process.h"
#include "tests/e2e/harness/XClient.h"
#include "tests/e2e/harness/XServer.h"

namespace e2e {

// A screenshot of the top left of the screen, as ImageMagick takes it.
inline void Screenshot(const std::string& file)
{
    ::mkdir(E2E_SCREENSHOT_DIR, 0755);
    const std::string path = std::string(E2E_SCREENSHOT_DIR) + "/" + file;
    ::unlink(path.c_str());
    ChildProcess import(Spawn({"import", "-window", "root", "-crop", "1100x700+0+0", "+repage", path},
                              Environment(kTestbedVariables, {"DISPLAY=" + gServer->display}), ""));
    ASSERT_GT(import.pid(), 0) << "ImageMagick's import could not be started";
    const std::optional<int> status = import.WaitFor(30s);
    ASSERT_TRUE(status.has_value()) << "import did not finish";
    ASSERT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << "import: " << DescribeStatus(*status);
    struct stat info{};
    ASSERT_EQ(::stat(path.c_str(), &info), 0) << path;
    EXPECT_GT(info.st_size, 0);
    std::printf("screenshot: %s\n", path.c_str());
}

constexpr char kMainTitle[] = "Varnok setup program";

// The real program on our X server, its output in a temporary file. It
// inherits the testbed from this process. Ended by pid (before the file goes)
// if still running.
struct RunningProgram {
    TempFile output;
    ChildProcess process;
    std::string Log() const { return "program output:\n" + ReadFile(output.path); }
};

// Starts the program; `wrapper` comes before it on the command line (a
// command that runs the rest of its arguments); `environment` is added to
// what it inherits.
inline void StartProgram(RunningProgram& program, const std::vector<std::string>& wrapper = {},
                         const std::vector<std::string>& environment = {})
{
    ASSERT_FALSE(program.output.path.empty());
    std::vector<std::string> argv = wrapper;
    argv.emplace_back(VARNOK_SETUP_PROGRAM);
    std::vector<std::string> add{"DISPLAY=" + gServer->display, "QT_QPA_PLATFORM=xcb"};
    add.insert(add.end(), environment.begin(), environment.end());
    program.process.Adopt(
        Spawn(argv, Environment({"WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "DISPLAY"}, add), program.output.path));
    ASSERT_GT(program.process.pid(), 0) << "cannot start " << VARNOK_SETUP_PROGRAM;
}

// Waits until the program's main window shows and sets `main` (and `place`,
// its place on the screen, when given); fails with the program's output when
// it does not, or when the program ended.
inline void WaitForMainWindow(XClient& x, RunningProgram& program, std::optional<xcb_window_t>& main,
                              Rect* place = nullptr)
{
    ASSERT_TRUE(WaitUntil(
        [&] {
            main = x.FindViewable(kMainTitle);
            return main.has_value() || !program.process.Alive();
        },
        20s))
        << "the main window did not appear\n" << program.Log();
    ASSERT_TRUE(program.process.Alive()) << program.Log();
    if (place != nullptr) {
        const std::optional<Rect> geometry = x.Geometry(*main);
        ASSERT_TRUE(geometry.has_value());
        *place = *geometry;
    }
}

// Waits for the program's box titled `title`, runs `whileShown`, and closes
// the box with Return.
inline void ConfirmBox(XClient& x, RunningProgram& program, const char* title,
                       const std::function<void()>& whileShown = {})
{
    std::optional<xcb_window_t> box;
    ASSERT_TRUE(WaitUntil(
        [&] {
            box = x.FindViewable(title);
            return box.has_value();
        },
        20s))
        << "no \"" << title << "\" box\n" << program.Log();
    if (whileShown)
        whileShown();
    x.SetFocus(*box);
    x.Key(kReturn, true);
    x.Key(kReturn, false);
    ASSERT_TRUE(WaitUntil([&] { return !x.FindViewable(title).has_value(); }, 10s))
        << "the \"" << title << "\" box did not close on Return";
}

// The end: the user closes the main window; the program ends by itself, with
// exit status 0 and without a sanitizer report (leaks included in the
// sanitizer build). SIGTERM only if it does not.
inline void CloseProgram(XClient& x, xcb_window_t main, RunningProgram& program)
{
    ASSERT_TRUE(program.process.Alive()) << DescribeStatus(*program.process.status()) << "\n" << program.Log();
    x.Close(main);
    std::optional<int> status = program.process.WaitFor(20s);
    EXPECT_TRUE(status.has_value()) << "the program did not end when its window was closed";
    if (!status) {
        program.process.Stop();
        status = program.process.status();
    }
    ASSERT_TRUE(status.has_value());
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << DescribeStatus(*status) << "\n" << program.Log();
    EXPECT_FALSE(HasSanitizerReport(ReadFile(program.output.path))) << program.Log();
}

}  // namespace e2e
