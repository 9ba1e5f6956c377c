#include "app/AccessAdvice.h"

#include <cerrno>

namespace app {

QString AccessAdviceCaption()
{
    return QStringLiteral("Varnok setup program");
}

QString AccessAdviceText()
{
    return QStringLiteral(
        "A foot switch was found, but this user may not open it, so its settings can "
        "be neither read out nor written in.\n\n"
        "To allow it, run this command in the program's source folder:\n\n"
        "    sudo scripts/install-udev-rule\n\n"
        "or install the program's package, which brings the same rule. "
        "Then unplug the pedal and plug it in again.");
}

QString GrantAccessHint()
{
    return QStringLiteral(
        "This user may not write to the foot switch. To allow it, run "
        "scripts/install-udev-rule (or install the package), then unplug and replug the pedal.");
}

bool IsAccessRefusal(int error)
{
    return error == EACCES || error == EPERM;
}

}  // namespace app
