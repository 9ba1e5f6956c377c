// A virtual HID bus whose platform library cannot be loaded: a window on it
// never scans, so it keeps the states of its layout.
#pragma once

#include "hid/platform/virtual/VirtualBus.h"

namespace app::test {

class UnloadedBus : public hid::platform::virt::VirtualBus {
public:
    UnloadedBus() { SetLoadFails(true); }
};

}  // namespace app::test
