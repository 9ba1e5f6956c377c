// Device references carried by the entries of the device list box.
#pragma once

class QListWidgetItem;

namespace hid {
class THidDevice;
}

namespace app {

void AttachDevice(QListWidgetItem& item, hid::THidDevice* device);
// The device attached to the entry; nullptr when none is.
hid::THidDevice* AttachedDevice(const QListWidgetItem& item);

}  // namespace app
