#include "app/AccessAdvice.h"

#include <cerrno>

#include "app/SystemErrorText.h"

namespace app {

QString AccessAdviceCaption()
{
    return QStringLiteral("Varnok setup program");
}

bool IsAccessRefusal(int error)
{
    return error == EACCES || error == EPERM;
}

QString OpenFailureText(int error, std::uint32_t native)
{
    const SystemErrorWords words = DescribeSystemError(error, native);
    const QString found =
        QStringLiteral("A foot switch was found, but it cannot be opened: ") + SystemErrorWithCode(words) +
        QStringLiteral("\n\n");
    if (!words.cause.isEmpty())
        return found + words.cause +
               QStringLiteral(" Its settings can be neither read out nor written in. Close that program, then "
                              "unplug the pedal and plug it in again.");
    return found + QStringLiteral(
                       "Its settings can be neither read out nor written in. Unplug the pedal and "
                       "plug it in again; if that does not help, another program may be using it.");
}

QString UnusableReason(int error, std::uint32_t native)
{
    if (IsAccessRefusal(error))
        return QStringLiteral("no access");
    const SystemErrorWords words = DescribeSystemError(error, native);
    return words.cause.isEmpty() ? words.text : QStringLiteral("another program may be using it");
}

}  // namespace app
