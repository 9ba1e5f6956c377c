// Names of the keys that type no character as the keycaps of a language
// print them (German: "Strg", "Entf", "Pos1", "Bild auf"), for the window.
// Only names: the usage codes are the same in every language, and the
// table's names stay valid everywhere (the command line speaks only them).
#pragma once

#include <string_view>

namespace keys {

// The language's name of a usage; empty where the keycap reads as the
// table's name, and for every key in a language without names of its own.
// `language` is a locale name: "de", "de_AT", "de-DE"; empty: the table's.
std::string_view DisplayKeyName(int usage, std::string_view language);

// The usage a name of the language means; 0 for none.
int DisplayKeyUsage(std::string_view name, std::string_view language);

}  // namespace keys
