// The pedal on a FakeHidDevice: the output reports written to the node go to
// the pedal firmware model (sim::PedalFirmware), and its replies become the
// node's input reports. A read request 02 01 p is answered with
// 02 81 p m k1 k2 k3 00; a write report 02 02 p m k1 k2 k3 is stored.
// The firmware's options make the pedal misbehave (silent, wrong index, ...).
#pragma once

#include <memory>
#include <string>

#include "hid/platform/linux/tests/FakeDeviceDescription.h"
#include "hid/platform/linux/tests/FakeHidDevice.h"
#include "sim/PedalFirmware.h"

namespace hid::platform::linux_::fakes {

class FakePedal {
 public:
  // The pedal as the testbed shows it: vendor 16C0, product 05E1, the
  // pedal's report descriptor (report id 2, 8-byte reports both ways), USB
  // strings from `firmware` (product, serial).
  static FakeDeviceDescription Description(const sim::PedalFirmware& firmware);
  // The same for a pedal with the firmware's default product text.
  static FakeDeviceDescription Description(const std::string& serial = "FS0001");

  // Answers the device's output reports with a firmware of its own (serial
  // and product taken from the device's description), or with `firmware`,
  // which must then outlive the pedal. The device must outlive the pedal;
  // the pedal stops answering when destroyed.
  explicit FakePedal(FakeHidDevice& device);
  FakePedal(FakeHidDevice& device, sim::PedalFirmware& firmware);
  ~FakePedal();
  FakePedal(const FakePedal&) = delete;
  FakePedal& operator=(const FakePedal&) = delete;

  sim::PedalFirmware& firmware() { return firmware_; }

 private:
  void Listen();

  FakeHidDevice& device_;
  std::unique_ptr<sim::PedalFirmware> own_;
  sim::PedalFirmware& firmware_;
};

}  // namespace hid::platform::linux_::fakes
