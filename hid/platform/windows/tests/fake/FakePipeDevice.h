// One fake HID device on a named pipe, served by a thread of its own. Every
// CreateFile of the DevicePath connects one instance of the pipe; many are
// kept listening, so quick opens in a row, or from two threads, all succeed.
#pragma once

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "hid/platform/windows/tests/fake/FakeHidBus.h"
#include "sim/PedalFirmware.h"

namespace fakehid {

class FakePipeDevice {
public:
    // Throws std::runtime_error when the pipe cannot be made.
    FakePipeDevice(int id, const FakeHidDevice& description);
    // Unplugs: every connection closed, the thread ended.
    ~FakePipeDevice();
    FakePipeDevice(const FakePipeDevice&) = delete;
    FakePipeDevice& operator=(const FakePipeDevice&) = delete;

    const FakeHidDevice& Description() const { return description_; }
    const std::string& Path() const { return path_; }
    const std::wstring& PipeName() const { return pipeName_; }
    int SendInput(const std::uint8_t* report, std::uint32_t length);
    int Listeners() const { return listeners_.load(); }
    std::uint32_t OutputReports() const { return outputReports_.load(); }
    sim::PedalFirmware& Firmware() { return firmware_; }

private:
    struct Instance {
        HANDLE pipe = INVALID_HANDLE_VALUE;
        HANDLE event = nullptr;
        OVERLAPPED overlapped{};
        bool busy = false;       // a connect or read was started and its end not yet taken
        bool connected = false;
        bool wrote = false;      // wrote output reports: a main handle, no reader
        bool failed = false;     // a write to its client failed: to be closed
        std::uint8_t buffer[256];
    };

    std::unique_ptr<Instance> Listen();
    bool StartRead(Instance& connection);
    void Run();
    int DeliverLocked(const std::uint8_t* data, std::uint32_t length);
    void DropFailedLocked();
    static bool WriteMessage(Instance& connection, const std::uint8_t* data, std::uint32_t length);
    static void Close(Instance& instance);

    const FakeHidDevice description_;
    std::string path_;
    std::wstring pipeName_;
    sim::PedalFirmware firmware_;
    HANDLE wake_;  // auto reset: the end, or failed connections to drop
    std::mutex mutex_;  // guards the instances (SendInput writes from the test's thread)
    bool stopping_ = false;
    std::atomic<int> listeners_{0};
    std::atomic<std::uint32_t> outputReports_{0};
    std::vector<std::unique_ptr<Instance>> listening_;
    std::vector<std::unique_ptr<Instance>> connections_;
    std::thread thread_;
};

}  // namespace fakehid
