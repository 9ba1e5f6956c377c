#include "keys/ModifierNames.h"

#include "keys/KeyNames.h"

namespace keys {

std::string_view ModifierName(int bit) {
    if (bit < 0 || bit > 7) return {};
    return KeyName(kFirstModifierUsage + bit);
}

void HIDtoKey2(std::uint8_t modifiers, std::string& out) {
    out.clear();
    for (int bit = 0; bit < 8; ++bit) {
        if ((modifiers & (1u << bit)) == 0) continue;
        if (!out.empty()) out += '+';
        out += ModifierName(bit);
    }
}

}  // namespace keys
