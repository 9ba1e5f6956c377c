// Qt side of the platform's device-change notifications: watches the
// controller's monitor fd and lets the controller rescan when it is readable.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace hid {
class THidDeviceController;
}

namespace app {

class DeviceChangeWatch final : public QObject {
    Q_OBJECT
public:
    // Watches nothing when the controller has no monitor (platform library
    // missing, or notifications refused). Must be destroyed before the
    // controller.
    explicit DeviceChangeWatch(hid::THidDeviceController& controller, QObject* parent = nullptr);

    bool Watching() const { return notifier_ != nullptr; }

    // The fd is readable: the controller drains it and rescans. Exceptions
    // of the handlers it runs end here as a warning.
    void OnReadable();

private:
    hid::THidDeviceController& controller_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace app
