// What varnok-pedal's messages say about the platform binding it runs on;
// each program's main gives its own (the defaults are those of Linux).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "cli/Messages.h"

namespace cli {

struct PlatformTexts {
  // Named when they cannot be loaded.
  std::string libraries = "libudev.so.1";
  // How to get access to a pedal whose opening was refused.
  std::string accessFix = translate(
      "varnok-pedal",
      "run \"sudo scripts/install-udev-rule\" (or install the program's package), then unplug and replug the pedal");
  // The system's own words for one of its error codes, with the code (Win32
  // errors); empty where it has none. Unset: errno's text is all there is.
  std::function<std::string(std::uint32_t)> systemErrorText;
};

}  // namespace cli
