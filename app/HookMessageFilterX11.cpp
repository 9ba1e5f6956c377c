// The hook messages on X11: ClientMessage events of the hook's atom.
#include "app/HookMessageFilter.h"

#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

#include "app/MainForm.h"
#include "hookmod/HookMessages.h"

namespace app {

std::unique_ptr<HookMessageFilter> HookMessageFilter::Install(TMainForm& form)
{
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                                   : nullptr;
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr)
        return nullptr;
    const char* name = hookmsg::kHookAtomName;
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr);
    if (reply == nullptr)
        return nullptr;
    const xcb_atom_t atom = reply->atom;
    std::free(reply);
    if (atom == XCB_ATOM_NONE)
        return nullptr;

    auto filter = std::make_unique<HookMessageFilter>(form, atom);
    filter->InstallOnApplication();
    return filter;
}

bool HookMessageFilter::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t" || message == nullptr)
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE)
        return false;
    const auto* client = static_cast<const xcb_client_message_event_t*>(message);
    if (client->type != atom_ || client->format != 32 ||
        client->window != static_cast<xcb_window_t>(form_.internalWinId()))
        return false;
    const std::uint32_t* data = client->data.data32;
    form_.OnHookMessage(data[hookmsg::kDataMessage], data[hookmsg::kDataWParam],
                        data[hookmsg::kDataLParam]);
    return true;
}

}  // namespace app
