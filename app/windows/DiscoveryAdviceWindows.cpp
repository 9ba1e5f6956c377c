// Windows: pedals are found through the system's setupapi.dll and hid.dll,
// loaded at start from the system folder.
#include "app/DiscoveryAdvice.h"

#include <QCoreApplication>

namespace app {

QString DiscoveryUnavailableText()
{
    return QCoreApplication::translate(
        "Messages",
        "Foot switches cannot be found: the system's device libraries (setupapi.dll, "
        "hid.dll) could not be loaded.");
}

}  // namespace app
