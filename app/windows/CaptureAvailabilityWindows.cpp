#include "app/windows/CaptureAvailabilityWindows.h"

#include <QGuiApplication>

#include "app/CaptureAvailability.h"

namespace app {

QString CaptureUnavailableReason(bool hooksLoaded, const QString& platform)
{
    if (!hooksLoaded)
        return QCoreApplication::translate("app::TMainForm",
                                           "no keyboard hook library (Hookmod.dll)");
    if (platform != QLatin1String("windows"))
        return QCoreApplication::translate("app::TMainForm",
                                           "the window runs on %1, not on the Windows desktop")
            .arg(platform);
    return QString();
}

QString CaptureUnavailableHere(bool hooksLoaded)
{
    return CaptureUnavailableReason(hooksLoaded, QGuiApplication::platformName());
}

QString CaptureRequirement()
{
    return QCoreApplication::translate(
        "app::TMainForm",
        "Capture needs the keyboard hook library Hookmod.dll in the program's folder.");
}

}  // namespace app
