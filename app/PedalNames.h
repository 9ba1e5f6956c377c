// The names of a pedal's tab and key box, by the pedal's index (0 = pedal 1).
#pragma once

#include <QString>

namespace app {

QString PedalTabName(int index);   // "Pedal 1"
QString KeyBoxName(int index);     // "Key combination of pedal 1"

}  // namespace app
