#include "app/MainThreadWakeup.h"

#include <QMetaObject>
#include <QtGlobal>

#include <exception>

#include "hid/MainThreadQueue.h"

namespace app {

MainThreadWakeup::MainThreadWakeup(hid::MainThreadQueue& queue, QObject* parent)
    : QObject(parent), queue_(queue)
{
    queue_.SetWakeup([this] { Schedule(); });
    if (queue_.HasPending())
        Schedule();
}

MainThreadWakeup::~MainThreadWakeup()
{
    queue_.SetWakeup(nullptr);
}

void MainThreadWakeup::Schedule()
{
    // Any thread: posts one call to this object's thread.
    QMetaObject::invokeMethod(this, [this] { Serve(); }, Qt::QueuedConnection);
}

void MainThreadWakeup::Serve()
{
    try {
        queue_.ServePending();
    } catch (const std::exception& error) {
        qWarning("device event handler failed: %s", error.what());
    } catch (...) {
        qWarning("device event handler failed");
    }
}

}  // namespace app
