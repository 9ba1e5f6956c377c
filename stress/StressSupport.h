// Shared pieces of the stress and fault tests: process resource counts, a
// watchdog that fails a hung test instead of letting it hang, and the
// iteration scale.
#pragma once

#include <dirent.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

namespace stress {

// Entries of a /proc folder, "." and ".." not counted.
inline int CountEntries(const char* folder) {
  DIR* dir = opendir(folder);
  if (dir == nullptr) return -1;
  int n = 0;
  while (const dirent* e = readdir(dir)) {
    const std::string name = e->d_name;
    if (name != "." && name != "..") ++n;
  }
  closedir(dir);
  return n;
}

inline int ThreadCount() { return CountEntries("/proc/self/task"); }
// The count includes the descriptor opendir itself holds, on every call alike.
inline int FdCount() { return CountEntries("/proc/self/fd"); }

// Iterations scaled by VARNOK_STRESS_SCALE (a factor, default 1; 0.1 for a
// quick run, 10 for a long one); never below 1.
inline int Scaled(int base) {
  const char* env = std::getenv("VARNOK_STRESS_SCALE");
  const double factor = env != nullptr ? std::atof(env) : 1.0;
  const int n = static_cast<int>(base * (factor > 0 ? factor : 1.0));
  return n < 1 ? 1 : n;
}

// Aborts the process (failing the test run) when a test outlives `limit`:
// a deadlock shows up as a failure with the test's name, not a hang.
class Watchdog {
 public:
  Watchdog(std::string what, std::chrono::seconds limit) : what_(std::move(what)) {
    thread_ = std::thread([this, limit] {
      std::unique_lock lock(mutex_);
      if (!done_.wait_for(lock, limit, [this] { return finished_; })) {
        std::fprintf(stderr, "watchdog: %s still running after %lld s (deadlock?)\n", what_.c_str(),
                     static_cast<long long>(limit.count()));
        std::abort();
      }
    });
  }
  ~Watchdog() {
    {
      std::lock_guard lock(mutex_);
      finished_ = true;
    }
    done_.notify_all();
    thread_.join();
  }
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

 private:
  std::string what_;
  std::mutex mutex_;
  std::condition_variable done_;
  bool finished_ = false;
  std::thread thread_;
};

}  // namespace stress
