// Choice of the Qt platform plugin before the application object exists.
// Keyboard capture needs an X window id, so wherever an X display is there
// (XWayland included) the program runs on xcb; an explicit QT_QPA_PLATFORM
// always wins.
#pragma once

namespace app {

// True when the xcb platform should be forced for these environment values
// (null = variable unset).
bool ShouldForceXcb(const char* display, const char* qpaPlatform);

// Sets QT_QPA_PLATFORM=xcb in the process environment when ShouldForceXcb
// says so for the current environment. Linux only; elsewhere nothing.
void PreferX11Platform();

}  // namespace app
