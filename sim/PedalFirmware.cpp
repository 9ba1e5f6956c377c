#include "sim/PedalFirmware.h"

#include <utility>

namespace sim {

PedalFirmware::PedalFirmware(std::string serial, std::string product)
    : serial_(std::move(serial)), product_(std::move(product)) {
    for (int pedal = 0; pedal < kPedalCount; ++pedal)
        slots_[static_cast<std::size_t>(pedal)] = DefaultSlot(pedal);
}

PedalFirmware::Slot PedalFirmware::DefaultSlot(int pedal) {
    switch (pedal) {
        case 0: return {0x01, 0x06, 0x00, 0x00};  // Ctrl+C
        case 1: return {0x01, 0x19, 0x00, 0x00};  // Ctrl+V
        case 2: return {0x00, 0x28, 0x00, 0x00};  // Enter
        default: return {0, 0, 0, 0};
    }
}

std::vector<PedalFirmware::Report> PedalFirmware::HandleOutputReport(const std::uint8_t* data,
                                                                     std::size_t len) {
    std::vector<Report> replies;
    if (data == nullptr || len < kReportSize || data[0] != kReportId) return replies;
    const std::uint8_t command = data[1];
    const int pedal = data[2];
    if (pedal >= kPedalCount) return replies;

    std::lock_guard lock(mutex_);
    if (command == kWriteCommand) {
        ++writes_;
        if (pedal == options_.dropWritesTo) return replies;
        const std::uint8_t key1 = pedal == options_.alterWritesTo ? static_cast<std::uint8_t>(data[4] + 1) : data[4];
        slots_[static_cast<std::size_t>(pedal)] = {data[3], key1, data[5], data[6]};
        return replies;
    }
    if (command != kReadCommand) return replies;

    ++readRequests_;
    if (options_.silent) return replies;
    if (options_.dropEveryNth > 0 && readRequests_ % options_.dropEveryNth == 0) return replies;
    if (options_.nonAnswerBeforeEach) {
        replies.push_back({kReportId, kNonAnswerStatus, static_cast<std::uint8_t>(pedal), 0, 0,
                           0, 0, 0});
    }
    replies.push_back(AnswerFor(pedal));
    return replies;
}

PedalFirmware::Report PedalFirmware::AnswerFor(int pedal) const {
    const Slot& slot = slots_[static_cast<std::size_t>(pedal)];
    const auto index = static_cast<std::uint8_t>(pedal + options_.answerIndexOffset);
    return {kReportId, kAnswerStatus, index, slot[0], slot[1], slot[2], slot[3], 0x00};
}

PedalFirmware::Slot PedalFirmware::GetSlot(int pedal) const {
    if (pedal < 0 || pedal >= kPedalCount) return {0, 0, 0, 0};
    std::lock_guard lock(mutex_);
    return slots_[static_cast<std::size_t>(pedal)];
}

bool PedalFirmware::SetSlot(int pedal, const Slot& slot) {
    if (pedal < 0 || pedal >= kPedalCount) return false;
    std::lock_guard lock(mutex_);
    slots_[static_cast<std::size_t>(pedal)] = slot;
    return true;
}

PedalFirmware::Options PedalFirmware::GetOptions() const {
    std::lock_guard lock(mutex_);
    return options_;
}

void PedalFirmware::SetOptions(const Options& options) {
    std::lock_guard lock(mutex_);
    options_ = options;
}

unsigned PedalFirmware::ReadRequestCount() const {
    std::lock_guard lock(mutex_);
    return readRequests_;
}

unsigned PedalFirmware::WriteCount() const {
    std::lock_guard lock(mutex_);
    return writes_;
}

}  // namespace sim
