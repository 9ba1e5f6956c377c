#include "protocol/AnswerStore.h"

#include "protocol/AnswerDisplayText.h"

namespace protocol {

bool StoreAnswer(PedalConfigTable& table, const PedalAnswer& answer, const keys::KeyNaming& naming) {
    if (!answer.isConfigAnswer || !PedalConfigTable::IsRow(answer.pedalIndex)) return false;
    const int row = answer.pedalIndex;
    table.SetRowBytes(row, {answer.modifiers, answer.keys[0], answer.keys[1], answer.keys[2]});
    table.SetKeyText(row, AnswerDisplayText(answer, naming));
    return true;
}

}  // namespace protocol
