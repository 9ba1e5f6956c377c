// Win32 errors in the system's own words (FormatMessage, in the user's
// language), with the Win32 code; errno's text where no Win32 error is known.
#include "app/SystemErrorText.h"

#include <QCoreApplication>

#include <windows.h>

#include <cstring>

namespace app {
namespace {

QString SystemMessage(DWORD code)
{
    wchar_t* message = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
        0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    QString text = length > 0 && message != nullptr ? QString::fromWCharArray(message, static_cast<int>(length))
                                                    : QString();
    if (message != nullptr)
        LocalFree(message);
    return text.trimmed();
}

}  // namespace

SystemErrorWords DescribeSystemError(int error, std::uint32_t native)
{
    const QString text = native != 0 ? SystemMessage(native) : QString();
    if (text.isEmpty())
        return {QString::fromLocal8Bit(std::strerror(error)), QCoreApplication::translate("AccessAdvice", "error %1").arg(error), false, QString()};
    SystemErrorWords words{text, QCoreApplication::translate("AccessAdvice", "Win32 error %1").arg(native), true, QString()};
    // A HID collection opened by a program for itself, or held by one that
    // asked for exclusive access, refuses every other open.
    if (native == ERROR_SHARING_VIOLATION || native == ERROR_ACCESS_DENIED || native == ERROR_LOCK_VIOLATION)
        words.cause = QCoreApplication::translate("AccessAdvice", "Another program may be using the foot switch.");
    return words;
}

}  // namespace app
