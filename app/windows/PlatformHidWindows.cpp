#include "app/PlatformHid.h"

#include "hid/platform/windows/WindowsHidBackend.h"

namespace app {

std::unique_ptr<hid::platform::Backend> MakePlatformHidBackend()
{
    // setupapi.dll and hid.dll from the system folder.
    return std::make_unique<hid::platform::windows::WindowsHidBackend>();
}

}  // namespace app
