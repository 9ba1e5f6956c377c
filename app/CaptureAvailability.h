// Whether the key edit box can capture keys in the running program, and if
// not, why. What capture needs is the platform's: on X11 the hook listens on
// the X display and the window must run there (CaptureAvailabilityX11.h); on
// Windows the hook library must be loaded and the window must be a real
// desktop window, to which the hook posts its messages.
#pragma once

#include <QString>

namespace app {

// A short reason for the user why capture cannot work here; empty when it
// can. `hooksLoaded`: HookOn and HookOff were found.
QString CaptureUnavailableHere(bool hooksLoaded);

// One sentence on what capture needs on this platform.
QString CaptureRequirement();

}  // namespace app
