// The platform's HID binding that the program runs on: PlatformHidLinux.cpp
// (libudev + hidraw) or windows/PlatformHidWindows.cpp (setupapi.dll +
// hid.dll). Linked into the program only; tests and the demo use the
// virtual bus.
#pragma once

#include <memory>

#include "hid/platform/HidPlatform.h"

namespace app {

std::unique_ptr<hid::platform::Backend> MakePlatformHidBackend();

}  // namespace app
