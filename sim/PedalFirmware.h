// A model of the pedal's firmware, for the virtual HID bus, the demo and
// tests. It holds three assignments (modifier byte and three key usage codes)
// and speaks the pedal's report protocol:
//   02 01 p .. .. .. .. ..   read request  -> answers 02 81 p m k1 k2 k3 00
//   02 02 p m  k1 k2 k3 ..   write report  -> stores m k1 k2 k3, no answer
// Anything else (other report id, fewer than 8 bytes, unknown command,
// p >= 3) is ignored. Reports carry the report id as byte 0.
//
// Options make it misbehave the way a real device might, for tests.
// All members are safe to call from several threads.
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace sim {

class PedalFirmware {
public:
    static constexpr int kPedalCount = 3;
    static constexpr std::size_t kReportSize = 8;
    static constexpr std::uint16_t kVendorId = 0x16C0;
    static constexpr std::uint16_t kProductId = 0x05E1;
    static constexpr std::uint8_t kReportId = 0x02;
    static constexpr std::uint8_t kReadCommand = 0x01;
    static constexpr std::uint8_t kWriteCommand = 0x02;
    // Status of an answer: above 0x80, low nibble = version code 1.
    static constexpr std::uint8_t kAnswerStatus = 0x81;
    // Status of a report that is not a configuration answer.
    static constexpr std::uint8_t kNonAnswerStatus = 0x80;

    using Slot = std::array<std::uint8_t, 4>;  // modifier, key1, key2, key3
    using Report = std::array<std::uint8_t, kReportSize>;

    // Misbehaviour switches; all off by default.
    struct Options {
        bool silent = false;             // never answers (writes are still stored)
        int answerIndexOffset = 0;       // answers carry pedal index + offset
        bool nonAnswerBeforeEach = false;  // a 0x80 status report precedes each answer
        unsigned dropEveryNth = 0;       // every n-th read request is lost (0: none)
        // How long after a read request its answer arrives; whoever carries
        // the answers to the host waits it (0: at once, inside the write).
        std::chrono::milliseconds answerDelay{0};
        // Write reports for this pedal index are taken but not stored, as
        // a write lost on the way (-1: none).
        int dropWritesTo = -1;
        // Write reports for this pedal index are stored with key usage
        // code 1 one higher, as a byte that went wrong (-1: none).
        int alterWritesTo = -1;
    };

    // Starts with Ctrl+C, Ctrl+V and Enter on pedals 1 to 3.
    explicit PedalFirmware(std::string serial = "VK0001",
                           std::string product = "Varnok foot switch");

    PedalFirmware(const PedalFirmware&) = delete;
    PedalFirmware& operator=(const PedalFirmware&) = delete;

    const std::string& Serial() const { return serial_; }
    const std::string& Product() const { return product_; }

    // Handles one output report and returns the input reports sent in reply,
    // in order. `data` may be null when `len` is 0.
    std::vector<Report> HandleOutputReport(const std::uint8_t* data, std::size_t len);

    // Stored assignment of pedal 0..2; zeros for any other index.
    Slot GetSlot(int pedal) const;
    // Stores an assignment; returns false (nothing stored) for another index.
    bool SetSlot(int pedal, const Slot& slot);

    Options GetOptions() const;
    void SetOptions(const Options& options);

    // Counters of what arrived, for tests: well-formed read requests
    // (including dropped ones) and write reports (including dropped ones).
    unsigned ReadRequestCount() const;
    unsigned WriteCount() const;

    static Slot DefaultSlot(int pedal);

private:
    Report AnswerFor(int pedal) const;

    const std::string serial_;
    const std::string product_;
    mutable std::mutex mutex_;
    std::array<Slot, kPedalCount> slots_;
    Options options_;
    unsigned readRequests_ = 0;
    unsigned writes_ = 0;
};

}  // namespace sim
