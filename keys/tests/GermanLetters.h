// A layout for tests that need one without libxkbcommon: the letters of a
// German keyboard's main block (Y and Z trade places, "ö" on ";") and "<" on
// the ISO key beside left Shift; every other key types nothing.
#pragma once

#include "keys/KeyLayout.h"

namespace keys::testing {

class GermanLetters final : public KeyLayout {
public:
    char32_t Character(int usage) const override {
        if (usage == 28) return U'z';
        if (usage == 29) return U'y';
        if (usage == 51) return U'ö';
        if (usage == 100) return U'<';
        return usage >= 4 && usage <= 27 ? static_cast<char32_t>(U'a' + (usage - 4)) : 0;
    }
    char32_t Capital(char32_t c) const override {
        if (c >= U'a' && c <= U'z') return c - U'a' + U'A';
        return c == U'ö' ? U'Ö' : c;
    }
};

}  // namespace keys::testing
