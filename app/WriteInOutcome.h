// How a write-in went, and what the user is told when it did not succeed.
#pragma once

#include <QString>

#include <cstdint>
#include <vector>

#include "protocol/ReadBack.h"

namespace app {

// A pedal written whose answer to the check is not what was written.
struct ReadBackDifference {
    int pedal = 0;   // 1-based
    // Display texts of the assignments; empty: no key.
    QString heldName;
    QString writtenName;
    protocol::AssignmentBytes held{};
    protocol::AssignmentBytes written{};
};

struct WriteInOutcome {
    // There was no pedal to write to: nothing was sent.
    bool noDevice = false;
    // Pedal numbers (1-based) whose report was not written in full.
    std::vector<int> failedPedals;
    // Pedal numbers (1-based) left out: neither read out nor set, so the
    // window did not know what they hold.
    std::vector<int> unreadPedals;
    int pedalCount = 0;
    // errno-style reason of the first failed write (0: none known), and the
    // platform's own code for it (the Win32 error; 0: none).
    int error = 0;
    std::uint32_t nativeError = 0;
    // Serial number of the pedal written; empty when it has none.
    QString serial;
    // Read back after the writes: pedals that hold something else, and
    // pedals (1-based) that did not answer in time.
    std::vector<ReadBackDifference> differences{};
    std::vector<int> unconfirmedPedals{};

    // Written in full, and every pedal read back what was written.
    bool Succeeded() const
    {
        return !noDevice && failedPedals.empty() && unreadPedals.empty() && differences.empty() &&
               unconfirmedPedals.empty();
    }
    // Written in full and nothing read back differs; only some pedals did
    // not answer the check.
    bool OnlyUnconfirmed() const
    {
        return !noDevice && failedPedals.empty() && unreadPedals.empty() && differences.empty() &&
               !unconfirmedPedals.empty() && error == 0;
    }
};

// Caption and text of the confirmation after a write-in that succeeded.
// Both texts name the pedal written, by its serial number, on a last line.
QString WriteInCaption();
QString WriteInDoneText(const WriteInOutcome& outcome);

// The error text for a write-in that did not succeed: that the pedal was
// not (fully) written, which pedals failed or could not be read, what the
// check found (a line per pedal), the system's reason and, when access was
// refused, how to grant it.
QString WriteInFailureText(const WriteInOutcome& outcome);

}  // namespace app
