#include "app/AccessAdvice.h"

#include <cerrno>
#include <cstring>

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

QString OpenFailureText(int error)
{
    return QStringLiteral(
               "A foot switch was found, but it cannot be opened: %1 (error %2).\n\n"
               "Its settings can be neither read out nor written in. Unplug the pedal and "
               "plug it in again; if that does not help, another program may be using it.")
        .arg(QString::fromLocal8Bit(std::strerror(error)))
        .arg(error);
}

QString UnusableReason(int error)
{
    if (IsAccessRefusal(error))
        return QStringLiteral("no access");
    return QString::fromLocal8Bit(std::strerror(error));
}

}  // namespace app
