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
    const auto handle = reinterpret_cast<HWND>(window.winId());
    RECT frame{};
    if (GetWindowRect(handle, &frame) && (frame.left != topLeft.x() || frame.top != topLeft.y()))
        SetWindowPos(handle, nullptr, topLeft.x(), topLeft.y(), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace app
