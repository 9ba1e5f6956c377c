#include "app/ReportPacer.h"

#include <QMetaObject>

#include <algorithm>
#include <optional>
#include <utility>

namespace app {

ReportPacer::ReportPacer(std::chrono::milliseconds pause, std::chrono::milliseconds answerLimit,
                         QObject* parent)
    : QObject(parent), pause_(pause), answerLimit_(answerLimit)
{
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &ReportPacer::PauseTimedOut);
    answerTimer_.setSingleShot(true);
    connect(&answerTimer_, &QTimer::timeout, this, [this] { EndWait(true); });
}

bool ReportPacer::Add(protocol::ExchangeQueue::Exchange exchange)
{
    auto late = std::make_shared<LateFailures>();
    if (exchange.send) {
        exchange.send = [this, late, send = std::move(exchange.send)](const protocol::PedalReport& report,
                                                                       int& error) {
            sending_ = late;
            sendingIndex_ = late->sent++;
            return send(report, error);
        };
    }
    if (exchange.done) {
        exchange.done = [late, done = std::move(exchange.done)](const protocol::ExchangeResult& result) {
            done(Merged(result, *late));
        };
    }
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

std::function<void(bool ok, int error, std::uint32_t native)> ReportPacer::WriteUnderWay()
{
    writing_ = true;
    return [this, late = sending_, index = sendingIndex_](bool ok, int error, std::uint32_t native) {
        if (!ok && late) {
            late->failed.push_back(index);
            if (late->failed.size() == 1) {
                late->error = error;
                late->native = native;
            }
        }
        // The pause runs from the end of the write.
        writing_ = false;
        sinceSend_.start();
        timer_.start(pause_);
    };
}

hid::ReportWriter& ReportPacer::Writer(hid::MainThreadQueue& queue)
{
    if (!writer_)
        writer_ = std::make_unique<hid::ReportWriter>(queue);
    return *writer_;
}

protocol::ExchangeResult ReportPacer::Merged(protocol::ExchangeResult result, const LateFailures& late)
{
    if (late.failed.empty())
        return result;
    // The reason given is that of the first failed report.
    const bool lateFirst = result.failed.empty() || late.failed.front() < result.failed.front();
    if ((lateFirst && late.error != 0) || result.error == 0) {
        result.error = late.error;
        result.nativeError = late.native;
    }
    result.failed.insert(result.failed.end(), late.failed.begin(), late.failed.end());
    std::sort(result.failed.begin(), result.failed.end());
    return result;
}

void ReportPacer::PauseTimedOut()
{
    // A pause is never cut short, whatever the timer's grain.
    const auto left = pause_ - std::chrono::nanoseconds(sinceSend_.nsecsElapsed());
    if (left > std::chrono::nanoseconds::zero()) {
        timer_.start(std::chrono::ceil<std::chrono::milliseconds>(left));
        return;
    }
    // A write still under way restarts the pause when it ends.
    if (writing_)
        return;
    EndPause();
}

void ReportPacer::EndPause()
{
    sending_.reset();
    std::optional<protocol::ExchangeQueue::Finished> finished = queue_.PauseEnded();
    if (queue_.AwaitingAnswers())
        answerTimer_.start(answerLimit_);
    // The next report goes first: an outcome may open a modal box, whose
    // own loop then keeps the queue going.
    SendNext();
    if (finished && finished->done)
        finished->done(finished->result);
}

void ReportPacer::CheckAnswers()
{
    EndWait(false);
}

void ReportPacer::EndWait(bool force)
{
    std::optional<protocol::ExchangeQueue::Finished> finished = queue_.EndWait(force);
    if (!finished)
        return;
    answerTimer_.stop();
    SendNext();
    if (finished->done)
        finished->done(finished->result);
}

void ReportPacer::Forget(protocol::ExchangeQueue::Target target)
{
    const bool awaiting = queue_.AwaitingAnswers();
    std::vector<protocol::ExchangeQueue::Finished> cuts = queue_.Forget(target);
    if (awaiting && !queue_.AwaitingAnswers()) {
        // The wait went with the device: the rest of the queue goes on.
        answerTimer_.stop();
        QMetaObject::invokeMethod(this, [this] { SendNext(); }, Qt::QueuedConnection);
    }
    for (protocol::ExchangeQueue::Finished& cut : cuts) {
        if (!cut.done)
            continue;
        QMetaObject::invokeMethod(
            this, [done = std::move(cut.done), result = std::move(cut.result)] { done(result); },
            Qt::QueuedConnection);
    }
}

}  // namespace app
