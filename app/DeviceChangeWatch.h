// Qt side of the platform's device-change notifications. A monitor with a
// descriptor is watched here, and the controller rescans when it is readable.
// A monitor without one (a window of its own, which Qt's loop serves like any
// other) notifies the controller by itself, which posts the rescan to its
// queue (MainThreadWakeup serves it): nothing to watch here.
#pragma once

#include <QObject>

#include "hid/THidDeviceController.h"

class QSocketNotifier;

namespace app {

class DeviceChangeWatch final : public QObject {
    Q_OBJECT
public:
    // Watches nothing when the controller has no monitor (platform library
    // missing, or notifications refused) or one without a descriptor. Must be
    // destroyed before the controller.
    explicit DeviceChangeWatch(hid::THidDeviceController& controller, QObject* parent = nullptr);

    // Whether device changes reach the controller, either way.
    bool Watching() const { return controller_.HasMonitor(); }

    // The fd is readable: the controller drains it and rescans. Exceptions
    // of the handlers it runs end here as a warning.
    void OnReadable();

private:
    hid::THidDeviceController& controller_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace app
