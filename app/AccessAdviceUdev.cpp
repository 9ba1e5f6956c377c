// How to grant access on Linux: the udev rule that gives the desktop's user
// the pedal's hidraw node.
#include "app/AccessAdvice.h"

#include <QCoreApplication>

namespace app {

QString AccessAdviceText()
{
    return QCoreApplication::translate(
        "AccessAdvice",
        "A foot switch was found, but this user may not open it, so its settings can "
        "be neither read out nor written in.\n\n"
        "To allow it, run this command in the program's source folder:\n\n"
        "    sudo scripts/install-udev-rule\n\n"
        "or install the program's package, which brings the same rule. "
        "Then unplug the pedal and plug it in again.");
}

QString GrantAccessHint()
{
    return QCoreApplication::translate(
        "AccessAdvice",
        "This user may not write to the foot switch. To allow it, run "
        "scripts/install-udev-rule (or install the package), then unplug and replug the pedal.");
}

}  // namespace app
