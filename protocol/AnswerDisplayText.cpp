#include "protocol/AnswerDisplayText.h"

#include "keys/KeyNameTable.h"

namespace protocol {
namespace {

bool NamesAKey(std::uint8_t code) { return code >= 1 && code <= 254; }

}  // namespace

std::string AnswerDisplayText(const PedalAnswer& answer, const keys::KeyNaming& naming) {
    std::string text;
    if (answer.modifiers != 0) {
        // The modifiers bit 0 first, by the naming's names.
        for (int bit = 0; bit < 8; ++bit) {
            if ((answer.modifiers & (1u << bit)) == 0) continue;
            if (!text.empty()) text += '+';
            text += naming.Name(keys::kFirstModifierUsage + bit);
        }
        if (NamesAKey(answer.keys[0])) {
            text += '+';
            text += naming.Name(answer.keys[0]);
        }
    } else if (NamesAKey(answer.keys[0])) {
        text = naming.Name(answer.keys[0]);
    }
    for (int i = 1; i < 3; ++i) {
        if (NamesAKey(answer.keys[i])) {
            text += '+';
            text += naming.Name(answer.keys[i]);
        }
    }
    return text;
}

}  // namespace protocol
