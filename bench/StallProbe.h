// How long the Qt event loop could not react. Every event the loop delivers
// is timed from the top (nested deliveries are part of it): the longest one
// is the longest stall. On a shared machine that includes the time the
// thread was preempted inside a delivery, so the probe also keeps the
// longest stall of our own: the wall time of a delivery during which the
// thread was not preempted (so waits and sleeps count), or else the CPU
// time it took. A 1 ms precise timer records how late each of its ticks
// fires, which adds what the loop itself and the scheduler cost.
#pragma once

#include <sys/resource.h>
#include <time.h>

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "bench/Percentile.h"

namespace bench {

class StallProbe {
public:
    using Clock = std::chrono::steady_clock;

    StallProbe()
    {
        ticker_.setTimerType(Qt::PreciseTimer);
        ticker_.setInterval(1);
        QObject::connect(&ticker_, &QTimer::timeout, [this] {
            const auto now = Clock::now();
            if (lastTick_ != Clock::time_point{})
                delays_.push_back(std::max(0.0, Ms(now - lastTick_) - 1.0));
            lastTick_ = now;
        });
    }

    // Starts a measurement afresh.
    void Start()
    {
        longest_ = Clock::duration::zero();
        longestOwn_ = Clock::duration::zero();
        longestWhat_.clear();
        delays_.clear();
        lastTick_ = {};
        measuring_ = true;
        ticker_.start();
    }
    void Stop()
    {
        ticker_.stop();
        measuring_ = false;
    }

    double LongestStallMs() const { return Ms(longest_); }
    double LongestOwnStallMs() const { return Ms(longestOwn_); }
    double LongestTimerDelayMs() { return Percentile(delays_, 100); }
    double P99TimerDelayMs() { return Percentile(delays_, 99); }
    std::size_t Ticks() const { return delays_.size(); }

    // What the longest delivery was: receiver class and event type.
    const std::string& LongestWhat() const { return longestWhat_; }

    // From the application's event delivery.
    void Enter()
    {
        if (depth_++ == 0) {
            start_ = Clock::now();
            getrusage(RUSAGE_THREAD, &usage_);
            cpuStart_ = ThreadCpu();
        }
    }
    void Leave(const QObject* receiver, const QEvent* event)
    {
        if (--depth_ != 0 || !measuring_)
            return;
        const Clock::duration took = Clock::now() - start_;
        rusage now{};
        getrusage(RUSAGE_THREAD, &now);
        const Clock::duration own =
            now.ru_nivcsw == usage_.ru_nivcsw ? took : std::min(took, ThreadCpu() - cpuStart_);
        longestOwn_ = std::max(longestOwn_, own);
        if (took <= longest_)
            return;
        longest_ = took;
        longestWhat_ = std::string(receiver->metaObject()->className()) + " event " +
                       std::to_string(static_cast<int>(event->type()));
    }

private:
    static double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }
    static Clock::duration ThreadCpu()
    {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
    }

    QTimer ticker_;
    std::vector<double> delays_;
    Clock::time_point lastTick_{};
    Clock::time_point start_{};
    Clock::duration longest_{};
    Clock::duration longestOwn_{};
    rusage usage_{};
    Clock::duration cpuStart_{};
    std::string longestWhat_;
    int depth_ = 0;
    bool measuring_ = false;
};

// The application whose every event delivery the probe times.
class ProbedApplication final : public QApplication {
public:
    ProbedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

    bool notify(QObject* receiver, QEvent* event) override
    {
        if (probe == nullptr)
            return QApplication::notify(receiver, event);
        probe->Enter();
        const bool handled = QApplication::notify(receiver, event);
        probe->Leave(receiver, event);
        return handled;
    }

    StallProbe* probe = nullptr;
};

}  // namespace bench
