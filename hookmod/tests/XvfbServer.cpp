#include "hookmod/tests/XvfbServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string_view>

namespace hooktest {

bool XvfbServer::Installed() {
    const char* path = std::getenv("PATH");
    if (path == nullptr) return false;
    std::string_view rest(path);
    while (!rest.empty()) {
        const auto colon = rest.find(':');
        const std::string_view dir = rest.substr(0, colon);
        std::error_code ec;
        if (!dir.empty() && std::filesystem::exists(std::filesystem::path(dir) / "Xvfb", ec))
            return true;
        if (colon == std::string_view::npos) break;
        rest.remove_prefix(colon + 1);
    }
    return false;
}

bool XvfbServer::Start(std::string& error) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        error = "pipe failed";
        return false;
    }
    char arg0[] = "Xvfb", arg1[] = "-displayfd", arg2[] = "3", arg3[] = "-nolisten",
         arg4[] = "tcp", arg5[] = "-noreset", arg6[] = "-screen", arg7[] = "0",
         arg8[] = "640x480x24";
    // -noreset: the server would otherwise reset whenever its last client leaves,
    // refusing connections for a moment between tests.
    char* argv[] = {arg0, arg1, arg2, arg3, arg4, arg5, arg6, arg7, arg8, nullptr};
    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ == 0) {
        // The server ends with the test process, even one that aborts: an
        // orphan would keep the test's output open and its runner waiting.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) _exit(127);
        // Xvfb writes its display number to fd 3, which must survive exec.
        if (fds[1] == 3 ? fcntl(3, F_SETFD, 0) < 0 : dup2(fds[1], 3) < 0) _exit(127);
        execvp("Xvfb", argv);
        _exit(127);
    }
    close(fds[1]);
    if (pid_ < 0) {
        close(fds[0]);
        pid_ = -1;
        error = "cannot start Xvfb";
        return false;
    }

    std::string number;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (number.empty() || number.back() != '\n') {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        pollfd p{fds[0], POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
        char buf[16];
        const ssize_t n = read(fds[0], buf, sizeof buf);
        if (n <= 0) break;
        number.append(buf, static_cast<std::size_t>(n));
    }
    close(fds[0]);
    if (number.empty() || number.back() != '\n') {
        error = "Xvfb did not report a display";
        return false;
    }
    number.pop_back();
    display_ = ":" + number;
    return true;
}

XvfbServer::~XvfbServer() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
}

}  // namespace hooktest
