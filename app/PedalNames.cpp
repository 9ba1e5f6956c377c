#include "app/PedalNames.h"

#include <QCoreApplication>

namespace app {

QString PedalTabName(int index)
{
    return QCoreApplication::translate("app::TMainForm", "Pedal %1").arg(index + 1);
}

QString KeyBoxName(int index)
{
    return QCoreApplication::translate("app::TMainForm", "Key combination of pedal %1").arg(index + 1);
}

}  // namespace app
