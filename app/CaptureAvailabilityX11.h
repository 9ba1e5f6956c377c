// Capture on X11: the keyboard hook listens on the X display named by
// DISPLAY and needs XInput 2.1 and evdev keycodes there (hookmod/XServerChecks.h); the window must run on that display
// (Qt's xcb platform) for the hook's messages to reach it.
#pragma once

#include <QString>

namespace app {

struct CaptureFacts {
    bool hooksLoaded = false;   // HookOn and HookOff were found
    QString platform;           // Qt's platform name ("xcb", "wayland", ...)
    bool haveDisplay = false;   // DISPLAY is set
    bool displayReachable = false;
    QString serverShortfall;    // what the X server lacks for the hook; empty: nothing
};

// What the running program finds: the platform Qt chose, and a short
// connection of its own to $DISPLAY, as the hook makes one.
CaptureFacts ProbeCaptureFacts(bool hooksLoaded);

// A short reason for the user why capture cannot work; empty when it can.
QString CaptureUnavailableReason(const CaptureFacts& facts);

}  // namespace app
