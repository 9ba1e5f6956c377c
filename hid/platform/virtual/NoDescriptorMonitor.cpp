// Where there is no eventfd (Windows) the virtual bus has no descriptor a host
// loop could watch: its monitors notify by callback, as the platform's own do.
#include "hid/platform/virtual/VirtualMonitor.h"

namespace hid::platform::virt {

MadeMonitor MakeDescriptorMonitor() { return {}; }

}  // namespace hid::platform::virt
