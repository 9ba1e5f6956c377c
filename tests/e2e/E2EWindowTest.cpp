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

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "hid/platform/linux/tests/FakeHidTestbed.h"
#include "hid/platform/linux/tests/FakePedal.h"
#include "hookmod/PosixHookBlockName.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;
using hid::platform::linux_::fakes::FakeHidDevice;
using hid::platform::linux_::fakes::FakeHidTestbed;
using hid::platform::linux_::fakes::FakePedal;
using Report = FakeHidDevice::Report;
using Clock = std::chrono::steady_clock;

// ---------------------------------------------------------------------------
// Processes

// The environment of this process without the variables named in `drop`
// (NAME or NAME= prefixes), plus `add`.
std::vector<std::string> Environment(const std::vector<std::string>& drop, const std::vector<std::string>& add)
{
    std::vector<std::string> result;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        const bool dropped = std::any_of(drop.begin(), drop.end(), [&text](const std::string& name) {
            return text.compare(0, name.size() + 1, name + "=") == 0;
        });
        if (!dropped)
            result.push_back(text);
    }
    result.insert(result.end(), add.begin(), add.end());
    return result;
}

std::vector<char*> Pointers(std::vector<std::string>& texts)
{
    std::vector<char*> result;
    for (std::string& text : texts)
        result.push_back(text.data());
    result.push_back(nullptr);
    return result;
}

// Starts `argv` (searched on PATH) with `env`; stdout and stderr go to
// `outputFile` (or /dev/null when empty). Descriptors without O_CLOEXEC stay
// open in the child. Returns the pid or -1.
pid_t Spawn(std::vector<std::string> argv, std::vector<std::string> env, const std::string& outputFile)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const std::string output = outputFile.empty() ? "/dev/null" : outputFile;
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    std::vector<char*> args = Pointers(argv);
    std::vector<char*> envp = Pointers(env);
    pid_t pid = -1;
    const int error = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? pid : -1;
}

// Waits up to `timeout` for the child to end; its wait status, or nothing.
std::optional<int> WaitForExit(pid_t pid, std::chrono::milliseconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        int status = 0;
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid)
            return status;
        if (done < 0 || Clock::now() >= deadline)
            return std::nullopt;
        std::this_thread::sleep_for(20ms);
    }
}

// A child that is ended by pid when it goes out of scope, if still running.
class ChildProcess {
public:
    ChildProcess() = default;
    explicit ChildProcess(pid_t pid) : pid_(pid) {}
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess() { Stop(); }

    pid_t pid() const { return pid_; }

    void Adopt(pid_t pid)
    {
        Stop();
        pid_ = pid;
        status_.reset();
    }

    // True while the child runs; collects its status once it has ended.
    bool Alive()
    {
        if (pid_ <= 0 || status_)
            return false;
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            status_ = status;
            return false;
        }
        return true;
    }

    std::optional<int> WaitFor(std::chrono::milliseconds timeout)
    {
        if (pid_ <= 0)
            return std::nullopt;
        if (!status_)
            status_ = WaitForExit(pid_, timeout);
        return status_;
    }

    // SIGTERM, a bounded wait, then SIGKILL.
    void Stop()
    {
        if (pid_ <= 0 || status_)
            return;
        ::kill(pid_, SIGTERM);
        status_ = WaitForExit(pid_, 5s);
        if (!status_) {
            ::kill(pid_, SIGKILL);
            status_ = WaitForExit(pid_, 5s);
        }
    }

    std::optional<int> status() const { return status_; }

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string DescribeStatus(int status)
{
    if (WIFEXITED(status))
        return "exit " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status))
        return std::string("signal ") + strsignal(WTERMSIG(status));
    return "status " + std::to_string(status);
}

// ---------------------------------------------------------------------------
// The X server, started once by main().

// Variables that must not reach the X server and ImageMagick: they belong to
// the testbed (the server would open its devices through it).
const std::vector<std::string> kTestbedVariables = {"LD_PRELOAD", "UMOCKDEV_DIR"};

struct XServer {
    ChildProcess process;
    std::string display;   // ":N"
};
XServer* gServer = nullptr;

// Starts Xvfb and learns its display number through -displayfd; false when
// it cannot run here.
bool StartXServer(XServer& server, std::string& why)
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        why = "pipe failed";
        return false;
    }
    // The write end must survive exec in the server: a copy without CLOEXEC.
    const int writeEnd = ::fcntl(fds[1], F_DUPFD, 10);
    ::close(fds[1]);
    const pid_t pid = Spawn({"Xvfb", "-displayfd", std::to_string(writeEnd), "-nolisten", "tcp", "-noreset",
                             "-screen", "0", "1280x800x24"},
                            Environment(kTestbedVariables, {}), "");
    ::close(writeEnd);
    if (pid < 0) {
        ::close(fds[0]);
        why = "Xvfb could not be started";
        return false;
    }
    server.process.Adopt(pid);

    std::string number;
    const auto deadline = Clock::now() + 15s;
    while (Clock::now() < deadline && number.find('\n') == std::string::npos) {
        pollfd p{fds[0], POLLIN, 0};
        if (::poll(&p, 1, 200) == 1) {
            char buffer[32];
            const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
            if (n <= 0)
                break;
            number.append(buffer, static_cast<std::size_t>(n));
        }
        if (!server.process.Alive())
            break;
    }
    ::close(fds[0]);
    if (number.empty() || number.find('\n') == std::string::npos) {
        server.process.Stop();
        why = "Xvfb gave no display number";
        return false;
    }
    server.display = ":" + number.substr(0, number.find('\n'));
    return true;
}

// ---------------------------------------------------------------------------
// X client: finding windows, looking at pixels, XTest input.

// X keycodes (evdev code + 8).
constexpr std::uint8_t kControlL = 37;
constexpr std::uint8_t kShiftL = 50;
constexpr std::uint8_t kKeyA = 38;
constexpr std::uint8_t kReturn = 36;
constexpr std::uint8_t kTab = 23;
constexpr std::uint8_t kUp = 111;

struct Rect {
    int x, y, w, h;
    int cx() const { return x + w / 2; }
    int cy() const { return y + h / 2; }
};

// Places inside the window's client area, as the window lays them out.
constexpr Rect kKeyEdit{8 + 136, 120 + 80, 177, 25};   // RzEdit1 in the tab control at 8,120
constexpr Rect kWriteIn{224, 288, 89, 33};             // RzBitBtn1
constexpr Rect kStatusPicture{8 + 16, 8 + 56, 33, 33}; // Image1 / Image2 in the group box at 8,8
constexpr Rect kPedalCount{128, 288, 49, 26};          // RzSpinEdit1
// The second tab's header: tabs start at the tab control's left edge and are
// each wider than 55 and narrower than 95 pixels ("Pedal 1").
constexpr Rect kSecondTab{8 + 95, 120 + 4, 1, 14};

class XClient {
public:
    explicit XClient(const std::string& display)
    {
        connection_ = xcb_connect(display.c_str(), nullptr);
        if (xcb_connection_has_error(connection_) == 0)
            root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    }
    ~XClient() { xcb_disconnect(connection_); }
    XClient(const XClient&) = delete;
    XClient& operator=(const XClient&) = delete;

    bool ok() const { return xcb_connection_has_error(connection_) == 0 && root_ != XCB_NONE; }

    bool HasXTest()
    {
        const xcb_query_extension_reply_t* ext = xcb_get_extension_data(connection_, &xcb_test_id);
        return ext != nullptr && ext->present;
    }

    // A round trip: every request sent before has been handled by the server.
    void Sync() { std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr)); }

    // The first mapped top-level window whose title is exactly `title`.
    std::optional<xcb_window_t> FindViewable(const std::string& title)
    {
        const std::vector<xcb_window_t> all = AllViewable(title);
        return all.empty() ? std::nullopt : std::optional<xcb_window_t>(all.front());
    }

    // Every mapped top-level window whose title is exactly `title`.
    std::vector<xcb_window_t> AllViewable(const std::string& title)
    {
        std::vector<xcb_window_t> found;
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(connection_, xcb_query_tree(connection_, root_), nullptr);
        if (tree == nullptr)
            return found;
        const xcb_window_t* children = xcb_query_tree_children(tree);
        const int count = xcb_query_tree_children_length(tree);
        for (int i = 0; i < count; ++i) {
            if (Title(children[i]) == title && Viewable(children[i]))
                found.push_back(children[i]);
        }
        std::free(tree);
        return found;
    }

    // The window a dialog belongs to (WM_TRANSIENT_FOR), or XCB_NONE.
    xcb_window_t TransientFor(xcb_window_t window)
    {
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            connection_,
            xcb_get_property(connection_, 0, window, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 0, 1), nullptr);
        xcb_window_t owner = XCB_NONE;
        if (reply != nullptr && reply->format == 32 && xcb_get_property_value_length(reply) >= 4)
            std::memcpy(&owner, xcb_get_property_value(reply), sizeof owner);
        std::free(reply);
        return owner;
    }

    bool Viewable(xcb_window_t window)
    {
        xcb_get_window_attributes_reply_t* attributes =
            xcb_get_window_attributes_reply(connection_, xcb_get_window_attributes(connection_, window), nullptr);
        const bool viewable = attributes != nullptr && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
        std::free(attributes);
        return viewable;
    }

    std::string Title(xcb_window_t window)
    {
        std::string title = Property(window, Atom("_NET_WM_NAME"));
        return title.empty() ? Property(window, XCB_ATOM_WM_NAME) : title;
    }

    // The window's client area on the screen.
    std::optional<Rect> Geometry(xcb_window_t window)
    {
        xcb_get_geometry_reply_t* geometry =
            xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr);
        xcb_translate_coordinates_reply_t* place = xcb_translate_coordinates_reply(
            connection_, xcb_translate_coordinates(connection_, window, root_, 0, 0), nullptr);
        std::optional<Rect> result;
        if (geometry != nullptr && place != nullptr)
            result = Rect{place->dst_x, place->dst_y, geometry->width, geometry->height};
        std::free(geometry);
        std::free(place);
        return result;
    }

    // The pixels of a screen rectangle (Z format, 32 bits each: B G R x).
    std::vector<std::uint8_t> Pixels(const Rect& r)
    {
        xcb_get_image_reply_t* image = xcb_get_image_reply(
            connection_,
            xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, root_, static_cast<std::int16_t>(r.x),
                          static_cast<std::int16_t>(r.y), static_cast<std::uint16_t>(r.w),
                          static_cast<std::uint16_t>(r.h), ~0u),
            nullptr);
        std::vector<std::uint8_t> pixels;
        if (image != nullptr) {
            const std::uint8_t* data = xcb_get_image_data(image);
            pixels.assign(data, data + xcb_get_image_data_length(image));
        }
        std::free(image);
        return pixels;
    }

    void SetFocus(xcb_window_t window)
    {
        xcb_set_input_focus(connection_, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
        Sync();
    }

    xcb_window_t Focus()
    {
        xcb_get_input_focus_reply_t* reply =
            xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr);
        const xcb_window_t focus = reply != nullptr ? reply->focus : xcb_window_t{XCB_NONE};
        std::free(reply);
        return focus;
    }

    void Click(int x, int y)
    {
        xcb_test_fake_input(connection_, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, root_, static_cast<std::int16_t>(x),
                            static_cast<std::int16_t>(y), 0);
        Sync();
        xcb_test_fake_input(connection_, XCB_BUTTON_PRESS, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        Sync();
        xcb_test_fake_input(connection_, XCB_BUTTON_RELEASE, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        Sync();
    }

    // What a window manager sends when the user clicks the close button.
    void Close(xcb_window_t window)
    {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = window;
        event.type = Atom("WM_PROTOCOLS");
        event.data.data32[0] = Atom("WM_DELETE_WINDOW");
        event.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(connection_, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
        Sync();
    }

    void Key(std::uint8_t keycode, bool press)
    {
        xcb_test_fake_input(connection_, press ? XCB_KEY_PRESS : XCB_KEY_RELEASE, keycode, XCB_CURRENT_TIME,
                            XCB_NONE, 0, 0, 0);
        Sync();
    }

private:
    xcb_atom_t Atom(const char* name)
    {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            connection_, xcb_intern_atom(connection_, 1, static_cast<std::uint16_t>(std::strlen(name)), name),
            nullptr);
        const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
        std::free(reply);
        return atom;
    }

    std::string Property(xcb_window_t window, xcb_atom_t property)
    {
        if (property == XCB_ATOM_NONE)
            return {};
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            connection_, xcb_get_property(connection_, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
            nullptr);
        std::string value;
        if (reply != nullptr && reply->format == 8) {
            const char* data = static_cast<const char*>(xcb_get_property_value(reply));
            value.assign(data, static_cast<std::size_t>(xcb_get_property_value_length(reply)));
        }
        std::free(reply);
        return value;
    }

    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = XCB_NONE;
};

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

// Polls `condition` every 50 ms until it holds or `timeout` has passed.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        if (condition())
            return true;
        if (Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(50ms);
    }
}

// Waits until the rectangle's pixels differ from `before` and then hold still
// for 300 ms (the repaint is complete).
bool WaitForRepaint(XClient& x, const Rect& r, const std::vector<std::uint8_t>& before,
                    std::chrono::milliseconds timeout)
{
    std::vector<std::uint8_t> last;
    auto stableSince = Clock::now();
    return WaitUntil(
        [&] {
            std::vector<std::uint8_t> now = x.Pixels(r);
            if (now == before) {
                last.clear();
                return false;
            }
            if (now != last) {
                last = std::move(now);
                stableSince = Clock::now();
                return false;
            }
            return Clock::now() - stableSince >= 300ms;
        },
        timeout);
}

// Waits until the rectangle's pixels hold still for `quiet`.
bool WaitForStillPixels(XClient& x, const Rect& r, std::chrono::milliseconds quiet, std::chrono::milliseconds timeout)
{
    std::vector<std::uint8_t> last = x.Pixels(r);
    auto stableSince = Clock::now();
    return WaitUntil(
        [&] {
            std::vector<std::uint8_t> now = x.Pixels(r);
            if (now != last) {
                last = std::move(now);
                stableSince = Clock::now();
                return false;
            }
            return Clock::now() - stableSince >= quiet;
        },
        timeout);
}

// ---------------------------------------------------------------------------

bool IsReadRequest(const Report& report)
{
    return report == Report{0x02, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
}

std::size_t CountReadRequests(const FakeHidDevice& node)
{
    const std::vector<Report> written = node.Written();
    return static_cast<std::size_t>(std::count_if(written.begin(), written.end(), IsReadRequest));
}

std::string Hex(const Report& report)
{
    std::string text;
    char byte[4];
    for (std::uint8_t b : report) {
        std::snprintf(byte, sizeof byte, "%02X ", b);
        text += byte;
    }
    return text;
}

// Waits until no report has been written to `node` for `quiet`: the program's
// read-outs at the scan have gone out and were answered.
bool WaitForQuietNode(const FakeHidDevice& node, std::chrono::milliseconds quiet, std::chrono::milliseconds timeout)
{
    std::size_t last = node.Written().size();
    auto since = Clock::now();
    return WaitUntil(
        [&] {
            const std::size_t now = node.Written().size();
            if (now != last) {
                last = now;
                since = Clock::now();
                return false;
            }
            return Clock::now() - since >= quiet;
        },
        timeout);
}

// A screenshot of the top left of the screen, as ImageMagick takes it.
void Screenshot(const std::string& file)
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

// The program's output file, removed at the end.
struct TempFile {
    std::string path;
    TempFile()
    {
        char name[] = "/tmp/varnok-e2e-XXXXXX";
        const int fd = ::mkstemp(name);
        if (fd >= 0) {
            ::close(fd);
            path = name;
        }
    }
    ~TempFile()
    {
        if (!path.empty())
            ::unlink(path.c_str());
    }
};

bool HasSanitizerReport(const std::string& output)
{
    return output.find("ERROR: AddressSanitizer") != std::string::npos ||
           output.find("ERROR: LeakSanitizer") != std::string::npos ||
           output.find("runtime error:") != std::string::npos;
}

constexpr char kMainTitle[] = "Varnok setup program";
constexpr char kWriteInTitle[] = "Write in";

// The real program on our X server, its output in a temporary file. It
// inherits the testbed from this process. Ended by pid (before the file goes)
// if still running.
struct RunningProgram {
    TempFile output;
    ChildProcess process;
    std::string Log() const { return "program output:\n" + ReadFile(output.path); }
};

// Starts the program; `wrapper` comes before it on the command line (a
// command that runs the rest of its arguments).
void StartProgram(RunningProgram& program, const std::vector<std::string>& wrapper = {})
{
    ASSERT_FALSE(program.output.path.empty());
    std::vector<std::string> argv = wrapper;
    argv.emplace_back(VARNOK_SETUP_PROGRAM);
    program.process.Adopt(Spawn(argv,
                                Environment({"WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "DISPLAY"},
                                            {"DISPLAY=" + gServer->display, "QT_QPA_PLATFORM=xcb"}),
                                program.output.path));
    ASSERT_GT(program.process.pid(), 0) << "cannot start " << VARNOK_SETUP_PROGRAM;
}

// The end: the user closes the main window; the program ends by itself, with
// exit status 0 and without a sanitizer report (leaks included in the
// sanitizer build). SIGTERM only if it does not.
void CloseProgram(XClient& x, xcb_window_t main, RunningProgram& program)
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
    ASSERT_TRUE(WaitUntil(
        [&] {
            main = x.FindViewable(kMainTitle);
            return main.has_value() || !run.process.Alive();
        },
        20s))
        << "the main window did not appear\n" << run.Log();
    ASSERT_TRUE(run.process.Alive()) << run.Log();
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
    std::optional<xcb_window_t> box;
    ASSERT_TRUE(WaitUntil(
        [&] {
            box = x.FindViewable(kWriteInTitle);
            return box.has_value();
        },
        10s))
        << "no \"Write in\" box\n" << run.Log();
    x.SetFocus(*box);
    x.Key(kReturn, true);
    x.Key(kReturn, false);
    ASSERT_TRUE(WaitUntil([&] { return !x.FindViewable(kWriteInTitle).has_value(); }, 10s));

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
    if (!FakeHidTestbed::Available()) {
        std::puts("umockdev preload library not active (run under umockdev-wrapper): skipped");
        return 77;
    }
    XServer server;
    std::string why;
    if (!StartXServer(server, why)) {
        std::printf("no X server: %s: skipped\n", why.c_str());
        return 77;
    }
    gServer = &server;
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    gServer = nullptr;
    server.process.Stop();   // ends Xvfb by its pid
    // The programs' window-id block of this user for our display.
    hookmsg::RemoveHookWindowBlock(hookmsg::HookWindowBlockName(::geteuid(), server.display, hookmsg::PrivateRuntimeDir()));
    return result;
}
