#include "app/AccessAdvice.h"

#include <cerrno>
#include <cstring>

#include <QCoreApplication>

namespace app {

QString AccessAdviceCaption()
{
    return QCoreApplication::translate("AccessAdvice", "Varnok setup program");
}

bool IsAccessRefusal(int error)
{
    return error == EACCES || error == EPERM;
}

QString OpenFailureText(int error)
{
    return QCoreApplication::translate(
               "AccessAdvice",
               "A foot switch was found, but it cannot be opened: %1 (error %2).\n\n"
               "Its settings can be neither read out nor written in. Unplug the pedal and "
               "plug it in again; if that does not help, another program may be using it.")
        .arg(QString::fromLocal8Bit(std::strerror(error)))
        .arg(error);
}

QString UnusableReason(int error)
{
    if (IsAccessRefusal(error))
        return QCoreApplication::translate("AccessAdvice", "no access");
    return QString::fromLocal8Bit(std::strerror(error));
}

}  // namespace app
