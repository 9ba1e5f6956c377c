// Description of one device plugged into the virtual HID bus.
#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "hid/platform/HidPlatform.h"

namespace hid::platform::virt {

// How opens of the device fare.
enum class Access {
  ReadWrite,         // opens with and without access rights
  ReadWriteRefused,  // opens only without access rights (a system keyboard, a node without permission)
  Refused,           // does not open at all
};

// Which writes fail, and with what errno. Writes are counted from the moment
// the failure is set (from the plug for the value given here).
struct WriteFailure {
  unsigned nth = 0;  // the n-th write fails (1: the next one); 0: none
  bool all = false;  // every write fails
  int error = EIO;
  // The failing writes are never taken: each waits out the write time limit
  // (kWriteTimeLimitMs, ended early by an unplug) and fails with ETIMEDOUT.
  bool neverTaken = false;
  std::uint32_t native = 0;  // the platform's own code the failing writes give (0: none)
};

// Called for every accepted write, outside the bus's locks, on the writing
// thread. A device model answers by calling VirtualDevice::InjectInput.
using WriteHook = std::function<void(const std::uint8_t* data, std::size_t length)>;

struct VirtualDeviceDescription {
  std::string path;                             // empty: "/dev/virtual-hidraw<N>"
  std::optional<DeviceInstanceId> instance;     // empty: a new number
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
  std::uint16_t version = 0;
  std::uint16_t usagePage = 0;
  std::uint16_t usage = 0;
  std::uint16_t inputLength = 0;                // report id byte included
  std::uint16_t outputLength = 0;
  std::uint16_t featureLength = 0;
  std::u16string product;                       // empty: the request fails
  std::u16string serial;                        // empty: the request fails
  std::vector<std::uint16_t> languages{0x0409};  // string 0
  std::map<std::uint32_t, std::u16string> strings;  // further indexed strings
  bool serialAnswersLanguageList = false;       // the serial request returns string 0
  bool stringsFail = false;                     // every string request fails
  bool languageListFails = false;               // string 0 cannot be read
  bool attributesFail = false;
  bool capsFail = false;                        // no report description
  Access access = Access::ReadWrite;
  int refusedError = EACCES;                    // errno of refused opens and of writes without rights
  std::uint32_t refusedNative = 0;              // the platform's own code of refused opens (0: none)
  WriteFailure writeFailure;
  WriteHook onWrite;
};

}  // namespace hid::platform::virt
