// Raised when a device object cannot be made; the controller's scan skips
// such devices without a message.
#pragma once

#include <stdexcept>
#include <string>

namespace hid {

class EControllerError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;

  static constexpr const char* kCannotOpen = "device cannot be opened";
  static constexpr const char* kCannotIdentify = "device cannot be identified";
};

}  // namespace hid
