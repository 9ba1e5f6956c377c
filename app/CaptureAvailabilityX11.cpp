#include "app/CaptureAvailability.h"
#include "app/CaptureAvailabilityX11.h"

#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>

#include "hookmod/XServerChecks.h"

namespace app {

CaptureFacts ProbeCaptureFacts(bool hooksLoaded)
{
    CaptureFacts facts;
    facts.hooksLoaded = hooksLoaded;
    facts.platform = QGuiApplication::platformName();
    const char* display = std::getenv("DISPLAY");
    facts.haveDisplay = display != nullptr && *display != '\0';
    if (!facts.haveDisplay)
        return facts;
    xcb_connection_t* connection = xcb_connect(display, nullptr);
    facts.displayReachable = xcb_connection_has_error(connection) == 0;
    if (facts.displayReachable) {
        facts.serverShortfall = QString::fromStdString(hookmod::XInputShortfall(connection));
        if (facts.serverShortfall.isEmpty())
            facts.serverShortfall = QString::fromStdString(hookmod::KeycodeShortfall(connection));
    }
    xcb_disconnect(connection);
    return facts;
}

QString CaptureUnavailableReason(const CaptureFacts& facts)
{
    if (!facts.hooksLoaded)
        return QCoreApplication::translate("app::TMainForm", "no keyboard hook library");
    if (!facts.haveDisplay)
        return QCoreApplication::translate("app::TMainForm", "no X display (DISPLAY not set)");
    if (!facts.displayReachable)
        return QCoreApplication::translate("app::TMainForm", "the X display cannot be reached");
    if (facts.platform != QLatin1String("xcb"))
        return QCoreApplication::translate("app::TMainForm", "the window runs on %1, not on X")
            .arg(facts.platform);
    // The hook library's own words on the X server stay English.
    if (!facts.serverShortfall.isEmpty())
        return facts.serverShortfall;
    return QString();
}

QString CaptureUnavailableHere(bool hooksLoaded)
{
    return CaptureUnavailableReason(ProbeCaptureFacts(hooksLoaded));
}

QString CaptureRequirement()
{
    return QCoreApplication::translate(
        "app::TMainForm",
        "Capture needs the program's keyboard hook on an X display (X11 or XWayland).");
}

}  // namespace app
