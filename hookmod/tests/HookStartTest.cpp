// What HookOn does when the hook cannot start: a thread that cannot be made,
// a display that cannot be connected to, an X server the hook cannot serve.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <poll.h>
#include <pthread.h>
#include <stddef.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <tuple>

#include "hookmod/SigpipeGuard.h"
#include "hookmod/XServerChecks.h"
#include "hookmod/tests/LoadedHook.h"
#include "hookmod/tests/StderrCapture.h"

namespace {

std::atomic<bool> g_failThreadStart{false};

}  // namespace

// Stands in for the C library's pthread_create (the test exports it), so a
// test can make thread creation fail as it does when the process is out of
// threads or memory.
extern "C" int pthread_create(pthread_t* thread, const pthread_attr_t* attr, void* (*start)(void*),
                              void* arg) {
    if (g_failThreadStart.load()) return EAGAIN;
    using Create = int (*)(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*);
    static const auto real = reinterpret_cast<Create>(dlsym(RTLD_NEXT, "pthread_create"));
    return real(thread, attr, start, arg);
}

namespace hooktest {
namespace {

std::size_t Threads() {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/task")) ++n;
    return n;
}

// Sets DISPLAY for one test and puts the old one back.
class DisplayOverride {
public:
    explicit DisplayOverride(const std::string& display) : saved_(std::getenv("DISPLAY")) {
        setenv("DISPLAY", display.c_str(), 1);
    }
    ~DisplayOverride() { setenv("DISPLAY", saved_.c_str(), 1); }

private:
    std::string saved_;
};

// An X display that hangs up on every client, counting the connects: the
// abstract socket an X server on that display number would listen on.
class RefusingDisplay {
public:
    RefusingDisplay() {
        fd_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        for (int number = 600 + getpid() % 300; fd_ >= 0 && number < 1000; ++number) {
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            const std::string name = "/tmp/.X11-unix/X" + std::to_string(number);
            name.copy(address.sun_path + 1, sizeof address.sun_path - 2);
            const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
            if (bind(fd_, reinterpret_cast<sockaddr*>(&address), length) == 0 && listen(fd_, 8) == 0) {
                display_ = ":" + std::to_string(number);
                break;
            }
        }
        stop_ = eventfd(0, EFD_CLOEXEC);
        if (!display_.empty()) thread_ = std::thread([this] { Serve(); });
    }
    ~RefusingDisplay() {
        const std::uint64_t one = 1;
        if (write(stop_, &one, sizeof one) < 0) std::perror("eventfd");
        if (thread_.joinable()) thread_.join();
        close(stop_);
        if (fd_ >= 0) close(fd_);
    }
    const std::string& Display() const { return display_; }
    int Connects() const { return connects_.load(); }

private:
    void Serve() {
        for (;;) {
            pollfd fds[2] = {{fd_, POLLIN, 0}, {stop_, POLLIN, 0}};
            if (poll(fds, 2, -1) < 0 && errno != EINTR) return;
            if (fds[1].revents & POLLIN) return;
            if (!(fds[0].revents & POLLIN)) continue;
            const int client = accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0) continue;
            ++connects_;  // counted before the hang-up that ends the client's connect
            close(client);
        }
    }

    int fd_ = -1;
    int stop_ = -1;
    std::string display_;
    std::atomic<int> connects_{0};
    std::thread thread_;
};

// Switches the test's X server to other keycodes and back.
class ServerKeycodes {
public:
    explicit ServerKeycodes(const char* set) { ok_ = Set(set); }
    ~ServerKeycodes() { Set("evdev"); }
    bool ok() const { return ok_; }

private:
    static bool Set(const char* set) {
        return std::system((std::string("setxkbmap -keycodes ") + set + " >/dev/null 2>&1").c_str()) == 0;
    }
    bool ok_ = false;
};

TEST(HookStart, AThreadThatCannotStartLeavesTheHookOffAndLaterCallsWork) {
    LoadedHook hook(HOOKMOD_VARIANT_PATH);
    ASSERT_TRUE(hook.ok()) << dlerror();
    const std::size_t before = Threads();
    StderrCapture log;
    g_failThreadStart = true;
    EXPECT_NO_THROW(hook.On());
    g_failThreadStart = false;
    hook.Off();  // returns: no thread to wait for
    EXPECT_EQ(Threads(), before);
    EXPECT_NE(log.Text().find("Hookmod: cannot start the hook thread"), std::string::npos) << log.Text();
    hook.On();
    EXPECT_EQ(Threads(), before + 1);
    hook.Off();
}

TEST(HookStart, AFailedConnectIsNotRepeatedUntilTheDisplayChanges) {
    RefusingDisplay refusing;
    ASSERT_FALSE(refusing.Display().empty());
    LoadedHook hook(HOOKMOD_VARIANT_PATH);
    ASSERT_TRUE(hook.ok()) << dlerror();
    StderrCapture log;
    {
        DisplayOverride display(refusing.Display());
        hook.On();
        EXPECT_EQ(refusing.Connects(), 1);
        hook.Off();
        hook.On();
        hook.On();
        EXPECT_EQ(refusing.Connects(), 1);
    }
    {
        DisplayOverride display(refusing.Display() + ".0");  // another name: tried afresh
        hook.On();
        EXPECT_EQ(refusing.Connects(), 2);
    }
    EXPECT_NE(log.Text().find("Hookmod: cannot open the X display"), std::string::npos) << log.Text();
}

// A server that hangs up before the client's first write: the write fails
// with EPIPE instead of the signal ending the program, and no SIGPIPE is
// left pending for the thread.
TEST(HookStart, AServerThatHangsUpDoesNotEndTheProgram) {
    int pair[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
    close(pair[1]);
    {
        const hookmod::SigpipeGuard quiet;
        const char byte = 0;
        EXPECT_EQ(write(pair[0], &byte, 1), -1);
        EXPECT_EQ(errno, EPIPE);
    }
    close(pair[0]);
    sigset_t pending;
    sigemptyset(&pending);
    sigpending(&pending);
    EXPECT_EQ(sigismember(&pending, SIGPIPE), 0);
}

TEST(HookStart, AServerWithoutEvdevKeycodesIsRefusedWithTheReason) {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    ASSERT_EQ(xcb_connection_has_error(connection), 0);
    EXPECT_EQ(hookmod::XInputShortfall(connection), "");
    EXPECT_EQ(hookmod::KeycodeShortfall(connection), "");
    {
        ServerKeycodes xfree86("xfree86");
        ASSERT_TRUE(xfree86.ok()) << "setxkbmap failed";
        EXPECT_NE(hookmod::KeycodeShortfall(connection).find("evdev keycodes"), std::string::npos);

        LoadedHook hook(HOOKMOD_VARIANT_PATH);
        ASSERT_TRUE(hook.ok()) << dlerror();
        const std::size_t before = Threads();
        StderrCapture log;
        hook.On();
        EXPECT_EQ(Threads(), before);
        EXPECT_NE(log.Text().find("does not use evdev keycodes"), std::string::npos) << log.Text();
    }
    EXPECT_EQ(hookmod::KeycodeShortfall(connection), "");
    xcb_disconnect(connection);
}

TEST(HookStart, RawKeyEventsNeedXInputTwoPointOne) {
    for (const auto& [major, minor, raw] : {std::tuple{2u, 0u, false}, {2u, 1u, true}, {2u, 2u, true},
                                            {1u, 5u, false}, {3u, 0u, true}})
        EXPECT_EQ(hookmod::DeliversRawKeyEvents(major, minor), raw) << major << "." << minor;
}

}  // namespace
}  // namespace hooktest
