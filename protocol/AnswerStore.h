// Storing a configuration answer in the table: the four slots of the row the
// answer names become the two-digit texts of bytes 3..6, and the row's
// display text becomes AnswerDisplayText.
#pragma once

#include "keys/KeyNaming.h"
#include "protocol/PedalAnswer.h"
#include "protocol/PedalConfigTable.h"

namespace protocol {

// Returns false and leaves the table unchanged for a report that is not a
// configuration answer or whose pedal index has no row (8 or more).
bool StoreAnswer(PedalConfigTable& table, const PedalAnswer& answer,
                 const keys::KeyNaming& naming = keys::TableNaming());

}  // namespace protocol
