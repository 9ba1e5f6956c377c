// Sends the queued exchanges with the pedal from the event loop: one report,
// then a pause, then the next, with the event loop serving everything else
// meanwhile. The order and the drop rules are the queue's; this class times
// the pause and tells each exchange how it went once the pause after its
// last report is over.
//
// An exchange's send may hand the write to another thread (WriteUnderWay):
// the pause then runs from the end of that write, and a write that failed
// there counts as a failed report of its exchange.
//
// An exchange that awaits answers to its reports (awaitsAnswers) goes on
// holding the queue after the pause after its last report: until it awaits
// none (told by CheckAnswers) or the answer limit has passed.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "hid/ReportWriter.h"
#include "protocol/ExchangeQueue.h"

namespace app {

class ReportPacer final : public QObject {
    Q_OBJECT
public:
    ReportPacer(std::chrono::milliseconds pause, std::chrono::milliseconds answerLimit,
                QObject* parent = nullptr);

    // Queues `exchange`. When nothing is being sent its first report goes
    // at once, before this returns. False when the queue dropped it.
    bool Add(protocol::ExchangeQueue::Exchange exchange);

    // The device `target` goes: nothing more is sent to it. The exchanges
    // for it that were cut hear so from the event loop, not from inside this
    // call (the caller may be in the middle of a rescan).
    void Forget(protocol::ExchangeQueue::Target target);

    // Called by an exchange's send, for the report it is sending, when the
    // write goes on off the event loop: the returned function is to be called
    // once, on the event loop, when that write ended.
    // `native`: the platform's own code for `error` (0: none).
    std::function<void(bool ok, int error, std::uint32_t native)> WriteUnderWay();
    // The writer for the sends' reports, made at the first use; `queue`
    // hands its outcomes back. It goes before the pacer's state, so no
    // outcome reaches a pacer that went.
    hid::ReportWriter& Writer(hid::MainThreadQueue& queue);

    // Answers came (or what the exchange waits for changed): the wait ends
    // when it awaits none any more.
    void CheckAnswers();
    bool AwaitingAnswers() const { return queue_.AwaitingAnswers(); }

    bool HoldsWriteIn() const { return queue_.HoldsWriteIn(); }
    // Nothing queued, no pause running and no answers awaited.
    bool Idle() const { return queue_.Empty() && !queue_.Pausing(); }

private:
    // Failures of an exchange's reports that came after its send returned.
    struct LateFailures {
        std::vector<int> failed;   // report indices, in order
        int error = 0;             // reason of the first of them
        std::uint32_t native = 0;  // the platform's code for it
        int sent = 0;              // reports handed to send so far
    };

    void SendNext();
    void PauseTimedOut();
    void EndPause();
    void EndWait(bool force);
    static protocol::ExchangeResult Merged(protocol::ExchangeResult result, const LateFailures& late);

    const std::chrono::milliseconds pause_;
    const std::chrono::milliseconds answerLimit_;
    protocol::ExchangeQueue queue_;
    QTimer timer_;
    QTimer answerTimer_;   // the answer limit of an exchange that waits
    QElapsedTimer sinceSend_;
    // The report being sent: its exchange's late failures and its index.
    std::shared_ptr<LateFailures> sending_;
    int sendingIndex_ = 0;
    bool writing_ = false;     // its write has not ended yet
    std::unique_ptr<hid::ReportWriter> writer_;   // last: goes first
};

}  // namespace app
