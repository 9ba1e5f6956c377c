// A private session bus with the accessibility bus switched on: a
// dbus-daemon of our own and at-spi-bus-launcher --a11y=1 on it, with their
// runtime folder in a temporary folder and settings in memory (nothing in
// the home folder). The registry daemon is started by D-Bus on demand; the
// test ends it by the pid the bus reports (EndRegistry). Both daemons are
// ended by pid when the bus goes.
#pragma once

#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/e2e/harness/Process.h"

namespace e2e {

class AccessibilityBus {
public:
    // Starts both daemons for X display `display`; ok() tells whether they run.
    AccessibilityBus(const std::string& launcher, const std::string& display)
    {
        char folder[] = "/tmp/varnok-a11y-XXXXXX";
        if (::mkdtemp(folder) == nullptr)
            return;
        runtime_ = folder;
        const std::string addressFile = runtime_ + "/session-bus-address";
        session_.Adopt(Spawn({"dbus-daemon", "--session", "--nofork", "--print-address=1"},
                             Environment(kDropped, {"XDG_RUNTIME_DIR=" + runtime_}), addressFile));
        if (!WaitUntil(
                [&] {
                    const std::string text = ReadFile(addressFile);
                    if (text.find('\n') == std::string::npos)
                        return false;
                    address_ = text.substr(0, text.find('\n'));
                    return true;
                },
                20s))
            return;
        launcher_.Adopt(Spawn({launcher, "--a11y=1"}, Environment(kDropped, ClientEnvironment(display)),
                              runtime_ + "/launcher.log"));
    }
    ~AccessibilityBus()
    {
        launcher_.Stop();
        session_.Stop();
        if (!runtime_.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(runtime_, ignored);
        }
    }
    AccessibilityBus(const AccessibilityBus&) = delete;
    AccessibilityBus& operator=(const AccessibilityBus&) = delete;

    bool ok() { return !address_.empty() && session_.Alive() && launcher_.Alive(); }
    std::string LauncherLog() const { return ReadFile(runtime_ + "/launcher.log"); }

    // What a program on this bus needs in its environment, on `display`.
    std::vector<std::string> ClientEnvironment(const std::string& display) const
    {
        return {"DBUS_SESSION_BUS_ADDRESS=" + address_, "XDG_RUNTIME_DIR=" + runtime_, "GSETTINGS_BACKEND=memory",
                "DISPLAY=" + display};
    }

    // Variables a client must not inherit from the test: the testbed's, and
    // the desktop's own buses.
    static inline const std::vector<std::string> kDropped = {"LD_PRELOAD",       "UMOCKDEV_DIR",
                                                             "DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS",
                                                             "XDG_RUNTIME_DIR",  "DISPLAY"};

    // Ends the registry daemon (not our child) by its pid; true once it is
    // gone.
    static bool EndRegistry(pid_t pid)
    {
        if (pid <= 0 || ::kill(pid, SIGTERM) != 0)
            return false;
        return WaitUntil([pid] { return (::kill(pid, 0) != 0 && errno == ESRCH) || IsZombie(pid); }, 10s);
    }

private:
    static bool IsZombie(pid_t pid)
    {
        const std::string stat = ReadFile("/proc/" + std::to_string(pid) + "/stat");
        const std::size_t close = stat.rfind(')');
        return close != std::string::npos && stat.size() > close + 2 && stat[close + 2] == 'Z';
    }

    std::string runtime_;
    std::string address_;
    ChildProcess session_;
    ChildProcess launcher_;
};

}  // namespace e2e
