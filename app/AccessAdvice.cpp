#include "app/AccessAdvice.h"

#include <cerrno>

#include "app/SystemErrorText.h"

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

QString OpenFailureText(int error, std::uint32_t native)
{
    const SystemErrorWords words = DescribeSystemError(error, native);
    const QString found =
        QCoreApplication::translate("AccessAdvice", "A foot switch was found, but it cannot be opened: %1")
            .arg(SystemErrorWithCode(words)) +
        QStringLiteral("\n\n");
    if (!words.cause.isEmpty())
        return found + words.cause +
               QCoreApplication::translate("AccessAdvice",
                                           " Its settings can be neither read out nor written in. Close that "
                                           "program, then unplug the pedal and plug it in again.");
    return found + QCoreApplication::translate(
                       "AccessAdvice",
                       "Its settings can be neither read out nor written in. Unplug the pedal and "
                       "plug it in again; if that does not help, another program may be using it.");
}

QString UnusableReason(int error, std::uint32_t native)
{
    if (IsAccessRefusal(error))
        return QCoreApplication::translate("AccessAdvice", "no access");
    const SystemErrorWords words = DescribeSystemError(error, native);
    return words.cause.isEmpty() ? words.text
                                 : QCoreApplication::translate("AccessAdvice", "another program may be using it");
}

}  // namespace app
