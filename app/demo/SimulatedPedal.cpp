#include "app/demo/SimulatedPedal.h"

namespace app::demo {
namespace {

std::u16string Ascii16(const std::string& text)
{
    return std::u16string(text.begin(), text.end());
}

std::string Ascii8(const std::u16string& text)
{
    std::string out;
    for (char16_t unit : text)
        out.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
    return out;
}

}  // namespace

hid::platform::virt::VirtualDeviceDescription SimulatedPedal::Description(const std::string& serial,
                                                                          const std::string& product)
{
    hid::platform::virt::VirtualDeviceDescription description;
    description.vendorId = sim::PedalFirmware::kVendorId;
    description.productId = sim::PedalFirmware::kProductId;
    description.version = 0x0100;
    description.inputLength = sim::PedalFirmware::kReportSize;
    description.outputLength = sim::PedalFirmware::kReportSize;
    description.product = Ascii16(product);
    description.serial = Ascii16(serial);
    return description;
}

SimulatedPedal::SimulatedPedal(hid::platform::virt::VirtualBus& bus,
                               hid::platform::virt::VirtualDeviceDescription description)
    : bus_(bus),
      description_(std::move(description)),
      firmware_(Ascii8(description_.serial), Ascii8(description_.product))
{
    Plug();
}

SimulatedPedal::SimulatedPedal(hid::platform::virt::VirtualBus& bus, const std::string& serial)
    : SimulatedPedal(bus, Description(serial))
{
}

SimulatedPedal::~SimulatedPedal()
{
    if (device_ != nullptr)
        device_->SetWriteHook(nullptr);
    if (Plugged())
        bus_.Unplug(device_);
}

void SimulatedPedal::Plug()
{
    hid::platform::virt::VirtualDeviceDescription description = description_;
    description.onWrite = nullptr;
    device_ = bus_.Plug(description);
    // The hook runs on the writing thread inside the device's write; the
    // device outlives its own hook, so a plain pointer does (no cycle).
    // A late answer goes to the device it was asked on, if that is still
    // there: a weak reference, since the device holds the hook.
    hid::platform::virt::VirtualDevice* device = device_.get();
    std::weak_ptr<hid::platform::virt::VirtualDevice> asked = device_;
    device_->SetWriteHook([this, device, asked](const std::uint8_t* data, std::size_t length) {
        if (observer_)
            observer_(false, data, length);
        const std::chrono::milliseconds delay = firmware_.GetOptions().answerDelay;
        for (const sim::PedalFirmware::Report& answer : firmware_.HandleOutputReport(data, length)) {
            if (delay <= std::chrono::milliseconds::zero()) {
                if (observer_)
                    observer_(true, answer.data(), answer.size());
                device->InjectInput(answer.data(), answer.size());
                continue;
            }
            lateAnswers_.Post(
                [this, asked, answer] {
                    const auto target = asked.lock();
                    if (target == nullptr)
                        return;
                    if (observer_)
                        observer_(true, answer.data(), answer.size());
                    target->InjectInput(answer.data(), answer.size());
                },
                delay);
        }
    });
}

void SimulatedPedal::Unplug()
{
    if (Plugged())
        bus_.Unplug(device_);
}

void SimulatedPedal::Replug()
{
    Unplug();
    device_->SetWriteHook(nullptr);
    Plug();
}

}  // namespace app::demo
