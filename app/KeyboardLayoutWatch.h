// The desktop's keyboard layout, followed, as key names for the window.
//  - X11 (KeyboardLayoutWatchX11.cpp): the server's keymap and group, on a
//    connection of the layout binding's own, watched for XKB events;
//  - Windows (windows/KeyboardLayoutWatchWindows.cpp): the foreground
//    thread's layout, read again on WM_INPUTLANGCHANGE and on Refresh().
// Where no layout can be read (no X server, Qt's offscreen platform on
// either system) there is no watch, and the window keeps the table's names.
#pragma once

#include <functional>
#include <memory>

#include "keys/KeyNaming.h"

class QWidget;

namespace app {

class KeyboardLayoutWatch {
public:
    using Changed = std::function<void(keys::KeyNaming)>;

    // Calls `changed` with the names of the layout now, and again each time
    // the layout changes, on the main thread. nullptr without a layout.
    static std::unique_ptr<KeyboardLayoutWatch> Start(QWidget& window, Changed changed);

    virtual ~KeyboardLayoutWatch() = default;

    // Reads the layout again now (the key box takes the focus), calling
    // `changed` when it differs.
    virtual void Refresh() = 0;
};

}  // namespace app
