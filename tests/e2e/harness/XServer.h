// The tests' own X server (Xvfb), started once per test program.
#pragma once

#include <poll.h>

#include <string>
#include <vector>

#include "tests/e2e/harness/Process.h"

namespace e2e {

// The X server, started once by main().

// Variables that must not reach the X server and ImageMagick: they belong to
// the testbed (the server would open its devices through it).
inline const std::vector<std::string> kTestbedVariables = {"LD_PRELOAD", "UMOCKDEV_DIR"};

struct XServer {
    ChildProcess process;
    std::string display;   // ":N"
};
inline XServer* gServer = nullptr;

// Starts Xvfb and learns its display number through -displayfd; false when
// it cannot run here.
inline bool StartXServer(XServer& server, std::string& why)
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

}  // namespace e2e
