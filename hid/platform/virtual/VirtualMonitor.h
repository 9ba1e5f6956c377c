// Device-change notifications of the virtual bus, in either way a platform
// monitor delivers them (see Monitor in HidPlatform.h): an eventfd that
// becomes readable on every plug and unplug, watched by the host like the
// Linux binding's monitor, or a callback, like the Windows binding's window.
#pragma once

#include <memory>

#include "hid/platform/HidPlatform.h"

namespace hid::platform::virt {

// What the bus keeps (weakly) of a monitor, to tell it of a plug or unplug.
class MonitorSignal {
 public:
  virtual ~MonitorSignal() = default;
  virtual void Signal() = 0;  // any thread
};

struct MadeMonitor {
  std::unique_ptr<Monitor> monitor;
  std::shared_ptr<MonitorSignal> signal;
};

// A monitor with a descriptor; empty where the platform has no eventfd
// (Windows). Throws std::system_error when no eventfd can be made.
MadeMonitor MakeDescriptorMonitor();
// A monitor without a descriptor: its notify callback runs on the thread that
// plugs or unplugs.
MadeMonitor MakeCallbackMonitor();

}  // namespace hid::platform::virt
