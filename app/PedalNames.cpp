#include "app/PedalNames.h"

namespace app {

QString PedalTabName(int index)
{
    return QStringLiteral("Pedal %1").arg(index + 1);
}

QString KeyBoxName(int index)
{
    return QStringLiteral("Key combination of pedal %1").arg(index + 1);
}

}  // namespace app
