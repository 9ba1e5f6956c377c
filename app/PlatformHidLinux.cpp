#include "app/PlatformHid.h"

#include "hid/platform/linux/LinuxHidBackend.h"

namespace app {

std::unique_ptr<hid::platform::Backend> MakePlatformHidBackend()
{
    return std::make_unique<hid::platform::linux_::LinuxHidBackend>();
}

}  // namespace app
