#include "app/PlatformChoice.h"

#include <cstdlib>

namespace app {

const char* PreferredPlatforms(const char* display, const char* qpaPlatform)
{
    const bool platformChosen = qpaPlatform != nullptr && *qpaPlatform != '\0';
    const bool haveX = display != nullptr && *display != '\0';
    return haveX && !platformChosen ? "xcb;wayland" : nullptr;
}

void ChooseQtPlatform()
{
    // Under Wayland an X server is there only through XWayland, which sets
    // DISPLAY; WAYLAND_DISPLAY alone leaves Qt's own choice.
    if (const char* platforms = PreferredPlatforms(std::getenv("DISPLAY"), std::getenv("QT_QPA_PLATFORM")))
        setenv("QT_QPA_PLATFORM", platforms, 1);
}

}  // namespace app
