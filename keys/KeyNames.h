// Lookups between key names and usage numbers over KeyNameTable.
// All functions are free of state and safe on any thread.
#pragma once

#include <string>
#include <string_view>

#include "keys/KeyNameTable.h"

namespace keys {

// Name of the row with this usage number; empty when no row has it.
std::string_view KeyName(int usage);

// Usage number of the row whose name equals `name` exactly (case-sensitive,
// whole name); 0 when no row has that name.
int UsageNumber(std::string_view name);

// The window's operations. Each replaces the previous content of `out`.
// HIDtoKey: name of the usage number, or empty text.
void HIDtoKey(int usage, std::string& out);
// changekey: usage number of the name as decimal text, or "0".
void changekey(std::string_view name, std::string& out);
// Strtokeys: same contract and implementation as changekey.
void Strtokeys(std::string_view name, std::string& out);

}  // namespace keys
