// Qt side of the main-thread hand-off queue: whenever work is queued (by a
// reader thread or by the controller itself), a queued call on this object
// serves the queue from the event loop.
#pragma once

#include <QObject>

namespace hid {
class MainThreadQueue;
}

namespace app {

class MainThreadWakeup final : public QObject {
    Q_OBJECT
public:
    // Installs itself as the queue's wake-up hook; work queued before that
    // is served at the next turn of the event loop. Lives on the thread that
    // makes it, which must be the queue's main thread.
    explicit MainThreadWakeup(hid::MainThreadQueue& queue, QObject* parent = nullptr);
    // Removes the hook. No reader thread may run any more (their devices are
    // gone), so nobody can be inside the hook at this point.
    ~MainThreadWakeup() override;

    // Serves the queue. An exception that escapes a handler must not cross
    // the event loop: it is reported as a warning, and the queue wakes again
    // for the work still queued behind it.
    void Serve();

private:
    void Schedule();

    hid::MainThreadQueue& queue_;
};

}  // namespace app
