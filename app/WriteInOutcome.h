// How a write-in went, and what the user is told when it did not succeed.
#pragma once

#include <QString>

#include <vector>

namespace app {

struct WriteInOutcome {
    // There was no pedal to write to: nothing was sent.
    bool noDevice = false;
    // Pedal numbers (1-based) whose report was not written in full.
    std::vector<int> failedPedals;
    int pedalCount = 0;
    // errno-style reason of the first failed write (0: none known).
    int error = 0;

    bool Succeeded() const { return !noDevice && failedPedals.empty(); }
};

// Caption and text of the confirmation after a write-in that succeeded.
QString WriteInCaption();
QString WriteInDoneText();

// The error text for a write-in that did not succeed: that the pedal was
// not (fully) written, which pedals failed, the system's reason and, when
// access was refused, how to grant it.
QString WriteInFailureText(const WriteInOutcome& outcome);

}  // namespace app
