// A main loop as a host program runs it, for the benchmarks: the hand-off
// queue's wake-up writes an eventfd, the loop waits on it (ppoll) until the
// next timer is due, serves the queue when woken and fires a periodic timer.
// It records how late the timer fires and how long each serving round takes:
// the longest of either is the longest time the loop could not react.
#pragma once

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

#include "bench/Percentile.h"
#include "hid/MainThreadQueue.h"

namespace bench {

using Clock = std::chrono::steady_clock;

class HostLoop {
 public:
  explicit HostLoop(hid::MainThreadQueue& queue) : queue_(queue), efd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
    const int fd = efd_;
    queue_.SetWakeup([fd] {
      const std::uint64_t one = 1;
      [[maybe_unused]] ssize_t n = write(fd, &one, sizeof one);
    });
  }
  ~HostLoop() {
    queue_.SetWakeup(nullptr);
    close(efd_);
  }
  HostLoop(const HostLoop&) = delete;
  HostLoop& operator=(const HostLoop&) = delete;

  // Also watch `fd`: when it is readable, `onReadable` runs on the loop.
  void Watch(int fd, std::function<void()> onReadable) {
    watchedFd_ = fd;
    onWatched_ = std::move(onReadable);
  }

  // Runs until `done` holds or `limit` passed, with a timer every `period`.
  void Run(const std::function<bool()>& done, Clock::duration limit,
           Clock::duration period = std::chrono::milliseconds(10)) {
    const auto end = Clock::now() + limit;
    auto due = Clock::now() + period;
    while (!done() && Clock::now() < end) {
      const auto wait = std::max(Clock::duration::zero(), due - Clock::now());
      const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
      timespec ts{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
      pollfd p[2] = {{efd_, POLLIN, 0}, {watchedFd_, POLLIN, 0}};
      ppoll(p, watchedFd_ >= 0 ? 2 : 1, &ts, nullptr);
      ++iterations_;
      if (p[0].revents & POLLIN) {
        std::uint64_t count;
        [[maybe_unused]] ssize_t n = read(efd_, &count, sizeof count);
      }
      if (watchedFd_ >= 0 && (p[1].revents & POLLIN)) onWatched_();
      const auto start = Clock::now();
      queue_.ServePending();
      serveMax_ = std::max(serveMax_, Clock::now() - start);
      const auto now = Clock::now();
      if (now >= due) {
        timerLateMax_ = std::max(timerLateMax_, now - due);
        ++timerFired_;
        due += period;
        if (due < now) due = now + period;  // a stall swallows missed ticks, as a real timer does
      }
    }
  }

  Clock::duration LongestServe() const { return serveMax_; }
  Clock::duration LongestTimerDelay() const { return timerLateMax_; }
  std::uint64_t TimerFired() const { return timerFired_; }
  std::uint64_t Iterations() const { return iterations_; }

 private:
  hid::MainThreadQueue& queue_;
  int efd_;
  int watchedFd_ = -1;
  std::function<void()> onWatched_;
  Clock::duration serveMax_{};
  Clock::duration timerLateMax_{};
  std::uint64_t timerFired_ = 0;
  std::uint64_t iterations_ = 0;
};

}  // namespace bench
