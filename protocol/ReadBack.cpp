#include "protocol/ReadBack.h"

namespace protocol {

AssignmentBytes WithoutErasedKeys(const AssignmentBytes& bytes) {
    AssignmentBytes out = bytes;
    for (std::size_t slot = 1; slot < out.size(); ++slot) {
        if (out[slot] == kErasedKey) out[slot] = kNoKey;
    }
    return out;
}

bool HoldsWritten(const AssignmentBytes& written, const AssignmentBytes& answered) {
    return WithoutErasedKeys(written) == WithoutErasedKeys(answered);
}

}  // namespace protocol
