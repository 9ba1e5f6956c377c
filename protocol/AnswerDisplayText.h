// Display text of a configuration answer, by the device's display rule:
//  - modifier byte set: its modifier names, then "+" and the name of key 1
//    when key 1 is 1..254;
//  - modifier byte 0: the name of key 1 alone (empty for 0 or 0xFF);
//  - then, for keys 2 and 3 in 1..254: "+" and the key's name.
// The "+" is appended even when nothing came before it, e.g. no modifier,
// key 1 = 0, key 2 = 0x04 gives "+A". Keys are named by `naming`; a code
// without a name shows by its number ("Key 0x68").
#pragma once

#include <string>

#include "keys/KeyNaming.h"
#include "protocol/PedalAnswer.h"

namespace protocol {

std::string AnswerDisplayText(const PedalAnswer& answer,
                              const keys::KeyNaming& naming = keys::TableNaming());

}  // namespace protocol
