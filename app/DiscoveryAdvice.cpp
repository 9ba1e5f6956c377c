#include "app/DiscoveryAdvice.h"

namespace app {

QString DiscoveryUnavailableText()
{
#ifdef _WIN32
    return QStringLiteral(
        "Foot switches cannot be found: the system's device libraries (setupapi.dll, "
        "hid.dll) could not be loaded.");
#else
    return QStringLiteral(
        "Foot switches cannot be found: the system library libudev.so.1 could not be "
        "loaded.\n\n"
        "Install it (Debian, Ubuntu: package libudev1; Fedora: systemd-libs) and start the "
        "program again.");
#endif
}

}  // namespace app
