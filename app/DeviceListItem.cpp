#include "app/DeviceListItem.h"

#include <QListWidgetItem>
#include <QVariant>

namespace app {
namespace {
constexpr int kDeviceRole = Qt::UserRole + 1;
}

void AttachDevice(QListWidgetItem& item, hid::THidDevice* device)
{
    item.setData(kDeviceRole, QVariant::fromValue(reinterpret_cast<quintptr>(device)));
}

hid::THidDevice* AttachedDevice(const QListWidgetItem& item)
{
    return reinterpret_cast<hid::THidDevice*>(item.data(kDeviceRole).value<quintptr>());
}

}  // namespace app
