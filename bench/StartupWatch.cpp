// Start-up time of window programs, exec to window mapped, without polling.
//
// The watcher connects to the X server first and listens on the root window
// for structure changes of its children; then it starts a program and takes
// the time from just before the exec to the MapNotify of a top-level window
// whose name is the given title. Programs given as TITLE EXE pairs are run in
// turn (A B A B ...) so that drifting machine load hits both alike.
//
//   varnok_bench_startup_watch RUNS TITLE EXE [TITLE EXE ...]
//       prints per program: <label>_startup_median_ms, _q1_ms, _q3_ms,
//       _iqr_ms (label = the EXE's file name), and for two programs the
//       ratio of the second's median to the first's, with the quartiles of
//       the run-by-run ratios as its spread.
//   varnok_bench_startup_watch --leave-running TITLE EXE
//       starts EXE once, waits for its window, prints "pid <pid>" and
//       "startup_ms <ms>", and leaves it running.
//
// A program that ends before its window maps makes the watcher print the
// program's own output and exit 1.
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Program {
    std::string title;
    std::string exe;
    std::vector<double> startupMs;
};

struct Launch {
    pid_t pid = -1;
    double ms = 0;
};

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
    auto cookie = xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(c, cookie, nullptr), &std::free);
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

std::string WindowName(xcb_connection_t* c, xcb_window_t w, xcb_atom_t netWmName, xcb_atom_t utf8) {
    for (auto [property, type] : {std::pair{netWmName, utf8}, std::pair{xcb_atom_t(XCB_ATOM_WM_NAME),
                                                                        xcb_atom_t(XCB_ATOM_STRING)}}) {
        auto cookie = xcb_get_property(c, 0, w, property, type, 0, 256);
        std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
            xcb_get_property_reply(c, cookie, nullptr), &std::free);
        if (reply && xcb_get_property_value_length(reply.get()) > 0)
            return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                               static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
    }
    return {};
}

class Watcher {
public:
    Watcher() : c_(xcb_connect(nullptr, nullptr)) {
        if (xcb_connection_has_error(c_)) {
            std::cerr << "startup watch: cannot connect to the X display\n";
            std::exit(2);
        }
        root_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root;
        const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(c_, root_, XCB_CW_EVENT_MASK, &mask);
        netWmName_ = Atom(c_, "_NET_WM_NAME");
        utf8_ = Atom(c_, "UTF8_STRING");
        xcb_flush(c_);
    }
    ~Watcher() { xcb_disconnect(c_); }

    // Starts exe and waits for the map of its window; the program's output
    // goes to `log`.
    Launch Start(const Program& program, const std::string& log) {
        Drain();
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
        char* argv[] = {const_cast<char*>(program.exe.c_str()), nullptr};
        Launch launch;
        const auto t0 = Clock::now();
        const int error = posix_spawn(&launch.pid, program.exe.c_str(), &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        if (error != 0) {
            std::cerr << "startup watch: cannot start " << program.exe << ": " << std::strerror(error) << "\n";
            std::exit(1);
        }
        pollfd pfd{xcb_get_file_descriptor(c_), POLLIN, 0};
        for (;;) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(c_)) {
                const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
                const xcb_window_t window = mapped ? reinterpret_cast<xcb_map_notify_event_t*>(event)->window : 0;
                std::free(event);
                if (mapped && WindowName(c_, window, netWmName_, utf8_) == program.title) {
                    launch.ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
                    return launch;
                }
            }
            if (xcb_connection_has_error(c_)) {
                std::cerr << "startup watch: lost the X connection\n";
                std::exit(2);
            }
            int status = 0;
            if (waitpid(launch.pid, &status, WNOHANG) == launch.pid) {
                std::cerr << program.exe << " ended before its window showed; its output:\n";
                std::ifstream in(log);
                std::cerr << in.rdbuf() << "\n";
                std::exit(1);
            }
            // The child's end is noticed within this poll's limit; the map
            // itself wakes the poll at once.
            poll(&pfd, 1, 200);
        }
    }

private:
    void Drain() {
        while (xcb_generic_event_t* event = xcb_poll_for_event(c_)) std::free(event);
    }

    xcb_connection_t* c_;
    xcb_window_t root_ = 0;
    xcb_atom_t netWmName_ = XCB_ATOM_NONE;
    xcb_atom_t utf8_ = XCB_ATOM_NONE;
};

void Stop(pid_t pid) {
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
}

double Quantile(std::vector<double> v, double q) {
    std::sort(v.begin(), v.end());
    const double pos = q * static_cast<double>(v.size() - 1);
    const auto lo = static_cast<std::size_t>(pos);
    const auto hi = std::min(lo + 1, v.size() - 1);
    return v[lo] + (v[hi] - v[lo]) * (pos - static_cast<double>(lo));
}

std::string Label(const std::string& exe) {
    std::string name = exe.substr(exe.find_last_of('/') + 1);
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

std::string LogPath() {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir ? dir : "/tmp") + "/varnok-startup-watch." + std::to_string(getpid()) + ".log";
}

}  // namespace

int main(int argc, char** argv) {
    const std::string log = LogPath();
    if (argc == 4 && std::string(argv[1]) == "--leave-running") {
        Watcher watcher;
        const Launch launch = watcher.Start({argv[2], argv[3], {}}, log);
        std::printf("pid %d\nstartup_ms %.1f\n", static_cast<int>(launch.pid), launch.ms);
        return 0;
    }
    if (argc < 4 || (argc - 2) % 2 != 0) {
        std::cerr << "usage: " << argv[0] << " RUNS TITLE EXE [TITLE EXE ...]\n"
                  << "       " << argv[0] << " --leave-running TITLE EXE\n";
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    std::vector<Program> programs;
    for (int i = 2; i + 1 < argc; i += 2) programs.push_back({argv[i], argv[i + 1], {}});

    Watcher watcher;
    for (int run = 0; run < runs; ++run) {
        for (Program& program : programs) {
            const Launch launch = watcher.Start(program, log);
            program.startupMs.push_back(launch.ms);
            Stop(launch.pid);
        }
    }
    std::remove(log.c_str());
    for (const Program& p : programs) {
        const std::string label = Label(p.exe);
        const double q1 = Quantile(p.startupMs, 0.25), q3 = Quantile(p.startupMs, 0.75);
        std::printf("%s_startup_median_ms %.1f\n", label.c_str(), Quantile(p.startupMs, 0.5));
        std::printf("%s_startup_q1_ms %.1f\n%s_startup_q3_ms %.1f\n", label.c_str(), q1, label.c_str(), q3);
        std::printf("%s_startup_iqr_ms %.1f\n", label.c_str(), q3 - q1);
        std::printf("%s_startup_runs %zu\n", label.c_str(), p.startupMs.size());
    }
    if (programs.size() == 2) {
        // The spread of the ratio: quartiles of the run-by-run ratios.
        std::vector<double> ratios;
        for (int run = 0; run < runs; ++run)
            ratios.push_back(programs[1].startupMs[run] / programs[0].startupMs[run]);
        std::printf("startup_ratio %.2f\n",
                    Quantile(programs[1].startupMs, 0.5) / Quantile(programs[0].startupMs, 0.5));
        std::printf("startup_ratio_q1 %.2f\nstartup_ratio_q3 %.2f\n", Quantile(ratios, 0.25),
                    Quantile(ratios, 0.75));
    }
    return 0;
}
