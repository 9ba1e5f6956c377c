// Linux: pedals are found through libudev, loaded at start.
#include "app/DiscoveryAdvice.h"

#include <QCoreApplication>

namespace app {

QString DiscoveryUnavailableText()
{
    return QCoreApplication::translate(
        "Messages",
        "Foot switches cannot be found: the system library libudev.so.1 could not be "
        "loaded.\n\n"
        "Install it (Debian, Ubuntu: package libudev1; Fedora: systemd-libs) and start the "
        "program again.");
}

}  // namespace app
