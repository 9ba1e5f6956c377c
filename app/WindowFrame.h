// Places a top-level window so that its outer frame, not its client area,
// starts at a screen point: a form's Left and Top are its frame's.
// WindowFrame.cpp (X11): Qt's move() before the first show does so already.
// windows/WindowFrameWindows.cpp: the frame's rectangle as Windows reports
// it. Qt's "windows" platform shifts a window left by the
// invisible resize borders Windows 10 draws around sizing frames, which a
// fixed frame does not have, so the frame would start a few pixels off.
#pragma once

#include <QPoint>

class QWidget;

namespace app {

// Call once the window is shown (its native frame exists).
void PlaceWindowFrame(QWidget& window, QPoint topLeft);

}  // namespace app
