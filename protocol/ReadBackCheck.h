// The check after a write-in: the pedals whose read request went out after
// their write report, and what each answered. An answer holds what was
// written by the read-back rule (HoldsWritten).
#pragma once

#include <optional>
#include <vector>

#include "protocol/ReadBack.h"

namespace protocol {

class ReadBackCheck {
public:
    struct Pedal {
        int row = 0;
        AssignmentBytes written{};
        std::optional<AssignmentBytes> held;   // none: no answer (yet)

        bool Holds() const { return held && HoldsWritten(written, *held); }
    };

    // The read request that checks `row`, written with `written`, went out.
    void Asked(int row, const AssignmentBytes& written);
    // That request could not be written after all: no answer is awaited.
    void NotAsked(int row);
    // The answer to such a request; false when no check of `row` waits.
    bool Answered(int row, const AssignmentBytes& held);
    // Some pedal asked has not answered yet.
    bool Waiting() const;
    // The pedals asked, in the order asked; the check is empty afterwards.
    std::vector<Pedal> Take();

private:
    std::vector<Pedal> pedals_;
};

}  // namespace protocol
