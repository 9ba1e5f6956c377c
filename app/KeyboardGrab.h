// While the key edit box captures, the desktop must not act on the keys
// (Alt+F4 would close the program, Alt+Tab take the focus away). On X11 the
// window holds the keyboard grab for that time, so the window manager's key
// bindings do not fire; the hook's XInput 2 raw events still arrive.
// KeyboardGrabX11.cpp; on Windows (windows/KeyboardGrabWindows.cpp) the
// grab is the hook's business and these do nothing.
#pragma once

#include <QString>

class QWidget;

namespace app {

// Grabs the keyboard for `window`'s top-level window. Empty when that worked
// (or is not needed here); otherwise why capture cannot go on, e.g. because
// another program holds the keyboard.
QString GrabKeyboardForCapture(QWidget* window);

// Lets the keyboard go again; nothing when it was not grabbed.
void ReleaseKeyboardForCapture(QWidget* window);

}  // namespace app
