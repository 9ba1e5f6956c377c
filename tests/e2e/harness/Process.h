// Child processes of an end-to-end test: started with posix_spawn, ended by
// pid, waited for with a bound; conditions polled with a generous limit.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace e2e {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;


// The environment of this process without the variables named in `drop`
// (NAME or NAME= prefixes), plus `add`.
inline std::vector<std::string> Environment(const std::vector<std::string>& drop, const std::vector<std::string>& add)
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

inline std::vector<char*> Pointers(std::vector<std::string>& texts)
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
inline pid_t Spawn(std::vector<std::string> argv, std::vector<std::string> env, const std::string& outputFile)
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
inline std::optional<int> WaitForExit(pid_t pid, std::chrono::milliseconds timeout)
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

inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

inline std::string DescribeStatus(int status)
{
    if (WIFEXITED(status))
        return "exit " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status))
        return std::string("signal ") + strsignal(WTERMSIG(status));
    return "status " + std::to_string(status);
}


// Polls `condition` every 50 ms until it holds or `timeout` has passed.
inline bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
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

inline bool HasSanitizerReport(const std::string& output)
{
    return output.find("ERROR: AddressSanitizer") != std::string::npos ||
           output.find("ERROR: LeakSanitizer") != std::string::npos ||
           output.find("runtime error:") != std::string::npos;
}

}  // namespace e2e
