// A fake pedal whose test learns the moment a chosen report reaches it, to
// act right then (plug another device, close the window). From that report
// on, its answers can be held back until the test lets them go: a pedal that
// answers late, so that the action falls inside the exchange.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <vector>

#include "hid/platform/linux/tests/FakeHidDevice.h"
#include "sim/PedalFirmware.h"

namespace e2e {

class WatchedPedal {
public:
    using Report = hid::platform::linux_::fakes::FakeHidDevice::Report;

    // The device must outlive the pedal.
    explicit WatchedPedal(hid::platform::linux_::fakes::FakeHidDevice& device)
        : device_(device), firmware_(device.description().serial, device.description().product)
    {
        device_.OnWrite([this](const Report& report) { Take(report); });
    }
    ~WatchedPedal() { device_.OnWrite(nullptr); }
    WatchedPedal(const WatchedPedal&) = delete;
    WatchedPedal& operator=(const WatchedPedal&) = delete;

    sim::PedalFirmware& firmware() { return firmware_; }

    // The next report equal to `report` fires the trigger; with `hold`, the
    // answers from then on wait for Release().
    void Arm(const Report& report, bool hold)
    {
        std::lock_guard lock(mutex_);
        armed_ = report;
        holdAfterTrigger_ = hold;
        fired_ = false;
    }

    // Waits until the armed report has arrived; false on timeout.
    bool WaitForTrigger(std::chrono::milliseconds timeout)
    {
        std::unique_lock lock(mutex_);
        return fired_cv_.wait_for(lock, timeout, [this] { return fired_; });
    }

    // Sends the held answers, in order, and answers at once from now on.
    void Release()
    {
        // Answers taken meanwhile wait for the held ones to go first.
        std::lock_guard sending(sendMutex_);
        std::vector<Report> held;
        {
            std::lock_guard lock(mutex_);
            holding_ = false;
            held.swap(held_);
        }
        for (const Report& answer : held)
            device_.SendInput(answer);
    }

private:
    // The testbed's worker thread.
    void Take(const Report& report)
    {
        std::vector<Report> answers;
        for (const auto& reply : firmware_.HandleOutputReport(report.data(), report.size()))
            answers.emplace_back(reply.begin(), reply.end());
        {
            std::lock_guard lock(mutex_);
            if (armed_ && report == *armed_) {
                armed_.reset();
                fired_ = true;
                holding_ = holdAfterTrigger_;
                fired_cv_.notify_all();
            }
            if (holding_) {
                held_.insert(held_.end(), answers.begin(), answers.end());
                return;
            }
        }
        std::lock_guard sending(sendMutex_);
        for (const Report& answer : answers)
            device_.SendInput(answer);
    }

    hid::platform::linux_::fakes::FakeHidDevice& device_;
    sim::PedalFirmware firmware_;
    std::mutex sendMutex_;   // taken before mutex_
    std::mutex mutex_;
    std::condition_variable fired_cv_;
    std::optional<Report> armed_;
    bool holdAfterTrigger_ = false;
    bool fired_ = false;
    bool holding_ = false;
    std::vector<Report> held_;
};

}  // namespace e2e
