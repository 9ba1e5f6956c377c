// What the window knows of each row of the configuration table: whether the
// row holds what the pedal holds (read out) or what the user set, or neither.
// A write-in sends only rows that are known; a row that is neither would go
// out as zeros and erase the pedal's assignment.
//
// The pedal answers read requests in order, one answer per request, and an
// answer names only its pedal. Each row therefore keeps its requests still
// unanswered, oldest first; an answer settles the oldest. An answer counts
// only when its request went out after the row was last set or written: a
// late answer to an earlier request would put the old assignment back. While
// a write-in of the row is in flight no answer changes it, except the answer
// to the read request that checks the write (sent after the row's write
// report): that one is what the pedal holds now.
//
// A request unanswered for kAnswerLimit counts as lost. Plain C++: the caller
// passes the time.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <deque>

#include "protocol/PedalConfigTable.h"

namespace protocol {

class RowStates {
public:
    using Clock = std::chrono::steady_clock;
    enum class State { Unknown, ReadOut, SetByUser };
    static constexpr std::chrono::milliseconds kAnswerLimit{2000};
    // What an answer may do.
    enum class Answer {
        Ignored,    // only logged: the row keeps what it holds
        ReadOut,    // the row becomes what the pedal answered
        ReadBack,   // the same, and it answers the check of a write
    };

    // Another pedal: every row unknown, no request outstanding.
    void Reset();
    // The device the requests went to was given back: none is outstanding
    // any more; an answer that still comes counts as asked for by none.
    void DropRequests();

    State Of(int row) const;
    // The row holds what the pedal holds or what the user set.
    bool Known(int row) const { return Of(row) != State::Unknown; }

    // Identifies a request sent, for RequestLost.
    using RequestId = std::uint64_t;
    RequestId RequestSent(int row, Clock::time_point at);
    // A read request that checks the row's write went out.
    RequestId CheckSent(int row, Clock::time_point at);
    // That request could not be written after all: no answer will come.
    void RequestLost(int row, RequestId id);
    // The user set the row: answers to earlier requests no longer count.
    void UserSet(int row);
    // A write-in that sends the row was queued / its report for the row went
    // out / it ended (sent or not). The row is the user's from the queueing on.
    void WriteQueued(int row);
    void WriteSent(int row);
    void WriteEnded(int row);
    bool Writing(int row) const;

    // An answer for `row` arrived. Unless it is ignored the row then counts
    // as read out.
    Answer AnswerArrived(int row, Clock::time_point at);

private:
    struct Request {
        Clock::time_point sent;
        bool stale;   // sent before the row was last set or written
        bool check;   // checks the write before it
        RequestId id;
    };
    struct Row {
        State state = State::Unknown;
        int writing = 0;
        std::deque<Request> outstanding;
    };
    void MarkStale(Row& row);
    RequestId Push(int row, Clock::time_point at, bool check);

    std::array<Row, PedalConfigTable::kRowCount> rows_;
    RequestId nextId_ = 1;   // never reset: an old id matches nothing
};

}  // namespace protocol
