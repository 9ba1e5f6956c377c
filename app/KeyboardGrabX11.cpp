#include "app/KeyboardGrab.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

namespace app {
namespace {

QWindow* GrabWindow(QWidget* widget)
{
    // Qt's xcb platform grabs with the X server; other platforms (offscreen
    // in tests) have no desktop to keep keys from.
    if (widget == nullptr || QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    return widget->window()->windowHandle();
}

}  // namespace

QString GrabKeyboardForCapture(QWidget* window)
{
    QWindow* handle = GrabWindow(window);
    if (handle == nullptr || handle->setKeyboardGrabEnabled(true))
        return QString();
    return QCoreApplication::translate(
        "app::TMainForm", "another program holds the keyboard; click into the key box to try again");
}

void ReleaseKeyboardForCapture(QWidget* window)
{
    QWindow* handle = GrabWindow(window);
    if (handle == nullptr)
        return;
    handle->setKeyboardGrabEnabled(false);
    // At once, not at the next turn of the event loop: the next key may
    // already be for the desktop.
    if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
        xcb_flush(x11->connection());
}

}  // namespace app
