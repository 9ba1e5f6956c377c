// On Windows there is no grab to take: Qt's keyboard grab there stays inside
// the program, and what reaches the desktop is decided by Hookmod.dll's
// low-level hook.
#include "app/KeyboardGrab.h"

namespace app {

QString GrabKeyboardForCapture(QWidget*)
{
    return QString();
}

void ReleaseKeyboardForCapture(QWidget*) {}

}  // namespace app
