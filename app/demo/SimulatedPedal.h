// A pedal on the virtual HID bus whose firmware is the simulated one: every
// report written to the device goes to the firmware, and its answers come
// back as input reports of the same device.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "hid/platform/virtual/VirtualBus.h"
#include "sim/DelayedDelivery.h"
#include "sim/PedalFirmware.h"

namespace app::demo {

class SimulatedPedal {
public:
    // The description of a pedal: ids 0x16C0:0x05E1, 8-byte input and
    // output reports, the given product and serial strings.
    static hid::platform::virt::VirtualDeviceDescription Description(
        const std::string& serial = "VK0001", const std::string& product = "Varnok foot switch");

    // Plugs the device `description` into `bus`; the firmware answers for it.
    SimulatedPedal(hid::platform::virt::VirtualBus& bus,
                   hid::platform::virt::VirtualDeviceDescription description);
    explicit SimulatedPedal(hid::platform::virt::VirtualBus& bus,
                            const std::string& serial = "VK0001");
    // Unplugs the device if it is still plugged.
    ~SimulatedPedal();
    SimulatedPedal(const SimulatedPedal&) = delete;
    SimulatedPedal& operator=(const SimulatedPedal&) = delete;

    void Unplug();
    // Plugs it in again after Unplug: a new device instance, as a real
    // replug gives, with the firmware's stored assignments kept.
    void Replug();
    bool Plugged() const { return device_ != nullptr && device_->Plugged(); }

    sim::PedalFirmware& Firmware() { return firmware_; }

    // Sees every report written to the pedal and every answer it gives, on
    // the writing thread (a late answer: on the thread that delivers it).
    // Set it before the first write.
    using ReportObserver = std::function<void(bool answer, const std::uint8_t* data, std::size_t length)>;
    void SetReportObserver(ReportObserver observer) { observer_ = std::move(observer); }
    // The device now on the bus (or last unplugged).
    const std::shared_ptr<hid::platform::virt::VirtualDevice>& Device() const { return device_; }

private:
    void Plug();

    hid::platform::virt::VirtualBus& bus_;
    hid::platform::virt::VirtualDeviceDescription description_;
    sim::PedalFirmware firmware_;
    ReportObserver observer_;
    std::shared_ptr<hid::platform::virt::VirtualDevice> device_;
    // Answers that come late (the firmware's answer delay); destroyed first.
    sim::DelayedDelivery lateAnswers_;
};

}  // namespace app::demo
