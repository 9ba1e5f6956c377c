// Linux: the controller reads the pedal's keyboard collection.
#include "app/PedalKeyboardInput.h"

namespace app {

std::unique_ptr<PedalKeyboardInput> PedalKeyboardInput::Install(QWidget&, HeldHandler)
{
    return nullptr;
}

bool PedalKeyboardInput::ReadThroughController()
{
    return true;
}

}  // namespace app
