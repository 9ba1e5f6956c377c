#include "app/PlatformChoice.h"

#include <cstdlib>

namespace app {

bool ShouldForceXcb(const char* display, const char* qpaPlatform)
{
    const bool platformChosen = qpaPlatform != nullptr && *qpaPlatform != '\0';
    const bool haveX = display != nullptr && *display != '\0';
    return haveX && !platformChosen;
}

void PreferX11Platform()
{
#ifdef __linux__
    // Under Wayland an X server is there only through XWayland, which sets
    // DISPLAY; WAYLAND_DISPLAY alone leaves Qt's own choice.
    if (ShouldForceXcb(std::getenv("DISPLAY"), std::getenv("QT_QPA_PLATFORM")))
        setenv("QT_QPA_PLATFORM", "xcb", 1);
#endif
}

}  // namespace app
