#include "app/CaptureAvailability.h"
#include "app/CaptureAvailabilityX11.h"

#include <QGuiApplication>

#include <xcb/xcb.h>
#include <xcb/xinput.h>

#include <cstdlib>

namespace app {
namespace {

// XInput 2 on the X server of `display`, asked the way the hook asks.
bool HasXInput2(xcb_connection_t* connection)
{
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, &xcb_input_id);
    if (extension == nullptr || !extension->present)
        return false;
    xcb_input_xi_query_version_reply_t* version = xcb_input_xi_query_version_reply(
        connection, xcb_input_xi_query_version(connection, 2, 2), nullptr);
    const bool two = version != nullptr && version->major_version >= 2;
    std::free(version);
    return two;
}

}  // namespace

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
    if (facts.displayReachable)
        facts.xinput2 = HasXInput2(connection);
    xcb_disconnect(connection);
    return facts;
}

QString CaptureUnavailableReason(const CaptureFacts& facts)
{
    if (!facts.hooksLoaded)
        return QStringLiteral("no keyboard hook library");
    if (!facts.haveDisplay)
        return QStringLiteral("no X display (DISPLAY not set)");
    if (!facts.displayReachable)
        return QStringLiteral("the X display cannot be reached");
    if (facts.platform != QLatin1String("xcb"))
        return QStringLiteral("the window runs on %1, not on X").arg(facts.platform);
    if (!facts.xinput2)
        return QStringLiteral("the X server lacks XInput 2");
    return QString();
}

QString CaptureUnavailableHere(bool hooksLoaded)
{
    return CaptureUnavailableReason(ProbeCaptureFacts(hooksLoaded));
}

QString CaptureRequirement()
{
    return QStringLiteral(
        "Capture needs the program's keyboard hook on an X display (X11 or XWayland).");
}

}  // namespace app
