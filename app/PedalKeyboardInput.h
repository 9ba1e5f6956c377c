// The pedal's keystrokes where the platform hands them over outside the HID
// layer. On Linux the window reads the pedal's keyboard collection through
// the controller, like its configuration collection (hidraw reads leave the
// keys to the system); on Windows the system holds keyboard collections
// exclusively, and their keystrokes come as Raw Input
// (windows/PedalKeyboardInputWindows.cpp).
#pragma once

#include <functional>
#include <memory>

#include "protocol/PedalKeystrokes.h"

class QWidget;

namespace app {

class PedalKeyboardInput {
public:
    using HeldHandler = std::function<void(const protocol::HeldKeys&)>;
    virtual ~PedalKeyboardInput() = default;

    // Delivers, on the main thread, the keys each pedal keyboard holds after
    // each of its keystrokes, for `window`'s life; nullptr where the
    // controller reads the collection instead, or the platform refused.
    static std::unique_ptr<PedalKeyboardInput> Install(QWidget& window, HeldHandler held);
    // The window checks out the pedal's keyboard collection and reads it.
    static bool ReadThroughController();
};

}  // namespace app
