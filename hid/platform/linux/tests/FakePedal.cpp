#include "hid/platform/linux/tests/FakePedal.h"

#include "hid/platform/descriptor/tests/KnownDescriptors.h"

namespace hid::platform::linux_::fakes {

FakeDeviceDescription FakePedal::Description(const sim::PedalFirmware& firmware) {
  FakeDeviceDescription d;
  d.vendorId = sim::PedalFirmware::kVendorId;
  d.productId = sim::PedalFirmware::kProductId;
  d.bcdDevice = 0x0100;
  d.manufacturer = "Varnok";
  d.product = firmware.Product();
  d.serial = firmware.Serial();
  d.reportDescriptor = descriptor::known::kPedal;
  return d;
}

FakeDeviceDescription FakePedal::Description(const std::string& serial) {
  return Description(sim::PedalFirmware(serial));
}

FakePedal::FakePedal(FakeHidDevice& device)
    : device_(device),
      own_(std::make_unique<sim::PedalFirmware>(device.description().serial, device.description().product)),
      firmware_(*own_) {
  Listen();
}

FakePedal::FakePedal(FakeHidDevice& device, sim::PedalFirmware& firmware) : device_(device), firmware_(firmware) {
  Listen();
}

void FakePedal::Listen() {
  device_.OnWrite([this](const FakeHidDevice::Report& report) {
    for (const auto& reply : firmware_.HandleOutputReport(report.data(), report.size())) {
      device_.SendInput(FakeHidDevice::Report(reply.begin(), reply.end()));
    }
  });
}

FakePedal::~FakePedal() { device_.OnWrite(nullptr); }

}  // namespace hid::platform::linux_::fakes
