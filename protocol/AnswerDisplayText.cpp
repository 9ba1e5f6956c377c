#include "protocol/AnswerDisplayText.h"

#include "keys/ModifierNames.h"

namespace protocol {
namespace {

bool NamesAKey(std::uint8_t code) { return code >= 1 && code <= 254; }

}  // namespace

std::string AnswerDisplayText(const PedalAnswer& answer, const keys::KeyNaming& naming) {
    std::string text;
    if (answer.modifiers != 0) {
        keys::HIDtoKey2(answer.modifiers, text);
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
