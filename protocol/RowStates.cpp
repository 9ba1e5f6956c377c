#include "protocol/RowStates.h"

namespace protocol {

void RowStates::Reset()
{
    rows_ = {};
}

void RowStates::DropRequests()
{
    for (Row& row : rows_)
        row.outstanding.clear();
}

RowStates::State RowStates::Of(int row) const
{
    return PedalConfigTable::IsRow(row) ? rows_[static_cast<std::size_t>(row)].state : State::Unknown;
}

bool RowStates::Writing(int row) const
{
    return PedalConfigTable::IsRow(row) && rows_[static_cast<std::size_t>(row)].writing > 0;
}

RowStates::RequestId RowStates::Push(int row, Clock::time_point at, bool check)
{
    const RequestId id = nextId_++;
    if (PedalConfigTable::IsRow(row))
        rows_[static_cast<std::size_t>(row)].outstanding.push_back({at, false, check, id});
    return id;
}

RowStates::RequestId RowStates::RequestSent(int row, Clock::time_point at)
{
    return Push(row, at, false);
}

RowStates::RequestId RowStates::CheckSent(int row, Clock::time_point at)
{
    return Push(row, at, true);
}

void RowStates::RequestLost(int row, RequestId id)
{
    if (PedalConfigTable::IsRow(row))
        std::erase_if(rows_[static_cast<std::size_t>(row)].outstanding,
                      [id](const Request& request) { return request.id == id; });
}

void RowStates::MarkStale(Row& row)
{
    for (Request& request : row.outstanding)
        request.stale = true;
}

void RowStates::UserSet(int row)
{
    if (!PedalConfigTable::IsRow(row))
        return;
    Row& r = rows_[static_cast<std::size_t>(row)];
    r.state = State::SetByUser;
    MarkStale(r);
}

void RowStates::WriteQueued(int row)
{
    if (!PedalConfigTable::IsRow(row))
        return;
    UserSet(row);
    ++rows_[static_cast<std::size_t>(row)].writing;
}

void RowStates::WriteSent(int row)
{
    if (PedalConfigTable::IsRow(row))
        MarkStale(rows_[static_cast<std::size_t>(row)]);
}

void RowStates::WriteEnded(int row)
{
    if (PedalConfigTable::IsRow(row) && rows_[static_cast<std::size_t>(row)].writing > 0)
        --rows_[static_cast<std::size_t>(row)].writing;
}

RowStates::Answer RowStates::AnswerArrived(int row, Clock::time_point at)
{
    if (!PedalConfigTable::IsRow(row))
        return Answer::Ignored;
    Row& r = rows_[static_cast<std::size_t>(row)];
    while (!r.outstanding.empty() && at - r.outstanding.front().sent > kAnswerLimit)
        r.outstanding.pop_front();
    bool fresh;
    bool check = false;
    if (r.outstanding.empty()) {
        // Asked for by no request we know of: it cannot be older than what
        // the user set, but it may be older than a write.
        fresh = r.state != State::SetByUser;
    } else {
        fresh = !r.outstanding.front().stale;
        check = r.outstanding.front().check;
        r.outstanding.pop_front();
    }
    if (!fresh || (r.writing > 0 && !check))
        return Answer::Ignored;
    r.state = State::ReadOut;
    return check ? Answer::ReadBack : Answer::ReadOut;
}

}  // namespace protocol
