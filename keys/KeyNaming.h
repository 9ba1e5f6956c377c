// Key names as a layout labels the keys; the usage codes never change.
//  - A character key is named by what it types at level 1 on the layout,
//    letters as capitals ("Z", "Ö", "É"), other characters as they are
//    ("ß", "<", "#").
//  - Every other key keeps the table's name ("Ctrl", "F5", "Num Enter"),
//    or its keycap's name in the naming's language ("Strg" in German,
//    KeyDisplayNames.h); the table's names are understood in every language.
//  - A layout whose letter keys type mostly non-Latin letters (Russian,
//    Greek) keeps the table's Latin names for all keys: shortcuts there
//    follow the Latin letters.
//  - A code the table has no name for is named by its number, "Key 0x68",
//    and that name parses back to the code.
// A KeyNaming is a snapshot: build a new one when the layout changes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "keys/KeyLayout.h"

namespace keys {

class KeyNaming {
public:
    // The table's names.
    KeyNaming() = default;
    // The names of `layout` as it is now.
    explicit KeyNaming(const KeyLayout& layout);

    // Name of a usage code 1..255; empty for 0 and codes out of range.
    std::string Name(int usage) const;

    // Usage code a name means: the layout's names first, then the table's,
    // then "Key 0xNN" (two hex digits, 1..FF). 0 for none of them.
    int Usage(std::string_view name) const;

    // Name of a code in one of the pedal's key slots: the name of a key row
    // (1..101), any other code by its number, so that the name never reads
    // as a modifier. Empty for 0.
    std::string KeySlotName(int code) const;

    // True when character keys are named by the layout.
    bool FollowsLayout() const { return followsLayout_; }

    // Names the other keys as the keycaps of `language` do ("de"); empty:
    // the table's names.
    void SetLanguage(std::string language) { language_ = std::move(language); }
    const std::string& Language() const { return language_; }

private:
    std::array<std::string, 256> layoutNames_{};
    std::string language_;
    bool followsLayout_ = false;
};

// The table's names, shared.
const KeyNaming& TableNaming();

// "Key 0x68".
std::string UnnamedCodeName(int code);

// The code of a "Key 0xNN" name; 0 for any other name.
int UnnamedCode(std::string_view name);

// True when the usage is a key the pedal can be given: a key row (1..101)
// or a modifier (224..231).
bool PedalCanHold(int usage);

}  // namespace keys
