#include "app/DeviceChangeWatch.h"

#include <QSocketNotifier>
#include <QtGlobal>

#include <exception>

#include "hid/THidDeviceController.h"

namespace app {

DeviceChangeWatch::DeviceChangeWatch(hid::THidDeviceController& controller, QObject* parent)
    : QObject(parent), controller_(controller)
{
    const int fd = controller_.MonitorFd();
    if (fd < 0)
        return;
    notifier_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &DeviceChangeWatch::OnReadable);
}

void DeviceChangeWatch::OnReadable()
{
    try {
        controller_.OnMonitorReadable();
    } catch (const std::exception& error) {
        qWarning("device change handler failed: %s", error.what());
    } catch (...) {
        qWarning("device change handler failed");
    }
}

}  // namespace app
