#include "protocol/ExchangeQueue.h"

#include <algorithm>
#include <utility>

namespace protocol {

bool ExchangeQueue::HoldsWriteIn() const
{
    return std::any_of(entries_.begin(), entries_.end(), [](const Entry& entry) {
        return entry.exchange.kind == ExchangeKind::WriteIn;
    });
}

bool ExchangeQueue::IsWaitingRepeat(const Exchange& exchange) const
{
    if (exchange.kind == ExchangeKind::Diagnostic || !HoldsWriteIn())
        return false;
    return std::any_of(entries_.begin(), entries_.end(), [&exchange](const Entry& entry) {
        return entry.sent == 0 && entry.exchange.kind == exchange.kind &&
               entry.exchange.target == exchange.target &&
               entry.exchange.reports == exchange.reports;
    });
}

bool ExchangeQueue::Add(Exchange exchange)
{
    if (exchange.reports.empty() || IsWaitingRepeat(exchange))
        return false;
    entries_.push_back(Entry{std::move(exchange), 0, {}});
    return true;
}

bool ExchangeQueue::SendNext()
{
    if (pausing_ || awaiting_ || entries_.empty())
        return false;
    Entry& entry = entries_.front();
    const auto index = static_cast<int>(entry.sent);
    int error = 0;
    const bool ok = entry.exchange.send && entry.exchange.send(entry.exchange.reports[entry.sent], error);
    ++entry.sent;
    if (!ok) {
        entry.result.failed.push_back(index);
        if (entry.result.error == 0)
            entry.result.error = error;
    }
    pausing_ = true;
    return true;
}

ExchangeQueue::Finished ExchangeQueue::Finish(Entry& entry)
{
    for (std::size_t i = entry.sent; i < entry.exchange.reports.size(); ++i) {
        entry.result.failed.push_back(static_cast<int>(i));
        entry.result.cut = true;
    }
    return Finished{std::move(entry.exchange.done), std::move(entry.result)};
}

std::optional<ExchangeQueue::Finished> ExchangeQueue::PauseEnded()
{
    pausing_ = false;
    if (entries_.empty())
        return std::nullopt;
    Entry& front = entries_.front();
    if (front.sent == 0 || front.sent < front.exchange.reports.size())
        return std::nullopt;
    if (front.exchange.awaitsAnswers && front.exchange.awaitsAnswers()) {
        awaiting_ = true;
        return std::nullopt;
    }
    Finished finished = Finish(front);
    entries_.pop_front();
    return finished;
}

std::optional<ExchangeQueue::Finished> ExchangeQueue::EndWait(bool force)
{
    if (!awaiting_ || (!force && entries_.front().exchange.awaitsAnswers()))
        return std::nullopt;
    awaiting_ = false;
    Finished finished = Finish(entries_.front());
    entries_.pop_front();
    return finished;
}

std::vector<ExchangeQueue::Finished> ExchangeQueue::Forget(Target target)
{
    std::vector<Finished> dropped;
    if (awaiting_ && entries_.front().exchange.target == target)
        awaiting_ = false;
    std::deque<Entry> kept;
    for (Entry& entry : entries_) {
        if (entry.exchange.target == target)
            dropped.push_back(Finish(entry));
        else
            kept.push_back(std::move(entry));
    }
    entries_ = std::move(kept);
    return dropped;
}

}  // namespace protocol
