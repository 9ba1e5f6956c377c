#include "app/ReportPacer.h"

#include <QMetaObject>

#include <optional>
#include <utility>

namespace app {

ReportPacer::ReportPacer(std::chrono::milliseconds pause, QObject* parent)
    : QObject(parent), pause_(pause)
{
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &ReportPacer::PauseTimedOut);
}

bool ReportPacer::Add(protocol::ExchangeQueue::Exchange exchange)
{
    const bool queued = queue_.Add(std::move(exchange));
    SendNext();
    return queued;
}

void ReportPacer::SendNext()
{
    if (!queue_.SendNext())
        return;
    sinceSend_.start();
    timer_.start(pause_);
}

void ReportPacer::PauseTimedOut()
{
    // A pause is never cut short, whatever the timer's grain.
    const auto left = pause_ - std::chrono::nanoseconds(sinceSend_.nsecsElapsed());
    if (left > std::chrono::nanoseconds::zero()) {
        timer_.start(std::chrono::ceil<std::chrono::milliseconds>(left));
        return;
    }
    std::optional<protocol::ExchangeQueue::Finished> finished = queue_.PauseEnded();
    // The next report goes first: an outcome may open a modal box, whose
    // own loop then keeps the queue going.
    SendNext();
    if (finished && finished->done)
        finished->done(finished->result);
}

void ReportPacer::Forget(protocol::ExchangeQueue::Target target)
{
    for (protocol::ExchangeQueue::Finished& cut : queue_.Forget(target)) {
        if (!cut.done)
            continue;
        QMetaObject::invokeMethod(
            this, [done = std::move(cut.done), result = std::move(cut.result)] { done(result); },
            Qt::QueuedConnection);
    }
}

}  // namespace app
