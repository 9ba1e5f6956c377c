// The key edit box's change rule: stores the shown text for the selected
// pedal and, when keys were captured, turns their names into that pedal's
// modifier byte and key codes.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "keys/KeyNaming.h"
#include "protocol/PedalConfigTable.h"

namespace capture {

// `text` is the key edit box's new text, `tab` the selected tab (pedal row),
// `capturedKeys` the capture's list at that moment. Returns the joined code
// text for the diagnostic field ("01-04-00-00"), or nothing when no keys were
// captured and the row's codes were left alone.
//
// Names are turned into usage numbers by `naming` (the names the capture
// gave them, the table's names meaning their keys too): 1..101 fill
// key slots 1..3 in list order (further key names are dropped), 224..231 set
// bit n - 224 of slot 0, anything else (0 for an unknown name) is skipped.
std::optional<std::string> ApplyKeyEntry(std::string_view text, int tab,
                                         const std::vector<std::string>& capturedKeys,
                                         protocol::PedalConfigTable& table,
                                         const keys::KeyNaming& naming = keys::TableNaming());

}  // namespace capture
