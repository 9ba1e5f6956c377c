// The exchanges waiting to go to the pedal, and the order they go in.
//
// An exchange is a run of output reports to one device: a read-out, a
// write-in or a diagnostic write. Its reports leave one at a time, and after
// each one the sender pauses (the pedal's firmware takes its reports paced);
// the caller times the pause and says when it is over. Exchanges never
// interleave: the next one starts only once the pause after the last report
// of the one before has passed. An exchange ends with that pause, and only
// then is its outcome handed back.
//
// While a write-in is held (from the moment it is added until the pause after
// its last report has passed and any wait for its answers is over), a read-out or write-in identical to one that
// is still waiting is dropped, so repeated requests cannot pile up behind it.
// Nothing else is ever dropped, except what goes to a device that went.
//
// Plain C++: the caller owns the clock (a timer of its event loop).
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "protocol/PedalReport.h"

namespace protocol {

enum class ExchangeKind { ReadOut, WriteIn, Diagnostic };

// How an exchange went.
struct ExchangeResult {
    // Indices of the reports that were not written in full or never sent,
    // in report order.
    std::vector<int> failed;
    // errno-style reason of the first failed write (0: none known), and the
    // platform's own code for it (the Win32 error; 0: none).
    int error = 0;
    std::uint32_t nativeError = 0;
    // Reports were left unsent because the device went.
    bool cut = false;

    bool Succeeded() const { return failed.empty(); }
};

class ExchangeQueue {
public:
    // Identity of the device an exchange addresses; never dereferenced.
    using Target = const void*;
    // Writes one report to the exchange's device; true when all of it was
    // written, otherwise `error` holds the reason (0 when none is known).
    using SendFn = std::function<bool(const PedalReport& report, int& error)>;
    using DoneFn = std::function<void(const ExchangeResult&)>;

    struct Exchange {
        ExchangeKind kind = ExchangeKind::ReadOut;
        Target target = nullptr;
        std::vector<PedalReport> reports;
        SendFn send;
        // Told how it went; may be empty.
        DoneFn done;
        // After the pause after its last report: true while answers to its
        // reports are still awaited. May be empty (nothing awaited).
        std::function<bool()> awaitsAnswers;
    };

    // An exchange that ended: whom to tell, and what.
    struct Finished {
        DoneFn done;
        ExchangeResult result;
    };

    // Queues `exchange` behind the others. Returns false, and queues
    // nothing, for an exchange without reports or a repeat dropped while a
    // write-in is held.
    bool Add(Exchange exchange);

    // Sends the next report if one is waiting and no pause is running;
    // returns true when it did. The caller then pauses and calls PauseEnded.
    bool SendNext();

    // The pause after the last report sent is over. Returns the exchange
    // that report ended, if it was its last and it awaits no answers; one
    // that awaits answers holds the queue from then on (AwaitingAnswers).
    std::optional<Finished> PauseEnded();

    // The front exchange sent everything and waits for answers.
    bool AwaitingAnswers() const { return awaiting_; }
    // Ends that wait when its answers are in, or always when `force` (the
    // caller waited long enough). Returns the exchange that ended.
    std::optional<Finished> EndWait(bool force);

    // The device `target` goes: every exchange for it is dropped, the rest
    // of the one under way included (its unsent reports count as failed),
    // and so is a wait for its answers. A pause that is running goes on.
    // Returns the dropped exchanges, in queue order.
    std::vector<Finished> Forget(Target target);

    bool Pausing() const { return pausing_; }
    bool Empty() const { return entries_.empty(); }
    // A write-in is waiting or under way (its last pause included).
    bool HoldsWriteIn() const;

private:
    struct Entry {
        Exchange exchange;
        std::size_t sent = 0;   // reports sent so far
        ExchangeResult result;
    };

    bool IsWaitingRepeat(const Exchange& exchange) const;
    static Finished Finish(Entry& entry);

    // The front entry is the one under way (or the next to start).
    std::deque<Entry> entries_;
    bool pausing_ = false;
    bool awaiting_ = false;   // the front entry waits for answers
};

}  // namespace protocol
