// Sends the queued exchanges with the pedal from the event loop: one report,
// then a pause, then the next, with the event loop serving everything else
// meanwhile. The order and the drop rules are the queue's; this class times
// the pause and tells each exchange how it went once the pause after its
// last report is over.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <chrono>

#include "protocol/ExchangeQueue.h"

namespace app {

class ReportPacer final : public QObject {
    Q_OBJECT
public:
    explicit ReportPacer(std::chrono::milliseconds pause, QObject* parent = nullptr);

    // Queues `exchange`. When nothing is being sent its first report goes
    // at once, before this returns. False when the queue dropped it.
    bool Add(protocol::ExchangeQueue::Exchange exchange);

    // The device `target` goes: nothing more is sent to it. The exchanges
    // for it that were cut hear so from the event loop, not from inside this
    // call (the caller may be in the middle of a rescan).
    void Forget(protocol::ExchangeQueue::Target target);

    bool HoldsWriteIn() const { return queue_.HoldsWriteIn(); }
    // Nothing queued and no pause running.
    bool Idle() const { return queue_.Empty() && !queue_.Pausing(); }

private:
    void SendNext();
    void PauseTimedOut();

    const std::chrono::milliseconds pause_;
    protocol::ExchangeQueue queue_;
    QTimer timer_;
    QElapsedTimer sinceSend_;
};

}  // namespace app
