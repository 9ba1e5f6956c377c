// Choice of the Qt platform plugin before the application object exists.
//
// Linux (PlatformChoice.cpp): keyboard capture needs an X window id, so
// wherever an X display is there (XWayland included) the program asks for
// xcb first; Wayland stays as the fallback so that a DISPLAY left over from
// ssh or tmux, which cannot be reached, does not stop the program.
// Windows (windows/PlatformChoiceWindows.cpp): Qt's own "windows" platform,
// the only one the program carries besides "offscreen" for tests.
// An explicit QT_QPA_PLATFORM always wins.
#pragma once

namespace app {

// Linux: the platform list to ask Qt for with these environment values
// (null = variable unset), or null to leave Qt's own choice.
const char* PreferredPlatforms(const char* display, const char* qpaPlatform);

// Sets QT_QPA_PLATFORM for this platform's choice, where there is one.
void ChooseQtPlatform();

}  // namespace app
