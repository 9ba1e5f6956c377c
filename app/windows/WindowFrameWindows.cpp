#include "app/WindowFrame.h"

#include <windows.h>

#include <QGuiApplication>
#include <QWidget>

namespace app {

void PlaceWindowFrame(QWidget& window, QPoint topLeft)
{
    // Only a window of the desktop has a frame (not so on "offscreen").
    if (QGuiApplication::platformName() != QLatin1String("windows") || !window.isWindow()) {
        if (window.pos() != topLeft)
            window.move(topLeft);
        return;
    }
    // The layout's point is in logical pixels, as the window's size is; the
    // system places frames in physical ones.
    const auto handle = reinterpret_cast<HWND>(window.winId());
    const qreal ratio = window.devicePixelRatio();
    const int x = qRound(topLeft.x() * ratio), y = qRound(topLeft.y() * ratio);
    RECT frame{};
    if (GetWindowRect(handle, &frame) && (frame.left != x || frame.top != y))
        SetWindowPos(handle, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace app
