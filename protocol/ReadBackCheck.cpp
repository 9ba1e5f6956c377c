#include "protocol/ReadBackCheck.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace protocol {

void ReadBackCheck::Asked(int row, const AssignmentBytes& written)
{
    pedals_.push_back({row, written, std::nullopt});
}

void ReadBackCheck::NotAsked(int row)
{
    const auto last = std::find_if(pedals_.rbegin(), pedals_.rend(),
                                   [row](const Pedal& pedal) { return pedal.row == row && !pedal.held; });
    if (last != pedals_.rend())
        pedals_.erase(std::next(last).base());
}

bool ReadBackCheck::Answered(int row, const AssignmentBytes& held)
{
    const auto waiting = std::find_if(pedals_.begin(), pedals_.end(),
                                      [row](const Pedal& pedal) { return pedal.row == row && !pedal.held; });
    if (waiting == pedals_.end())
        return false;
    waiting->held = held;
    return true;
}

bool ReadBackCheck::Waiting() const
{
    return std::any_of(pedals_.begin(), pedals_.end(), [](const Pedal& pedal) { return !pedal.held; });
}

std::vector<ReadBackCheck::Pedal> ReadBackCheck::Take()
{
    return std::exchange(pedals_, {});
}

}  // namespace protocol
