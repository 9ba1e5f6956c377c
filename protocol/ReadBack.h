// Whether a pedal's answer to a read request holds what was written to it:
// the modifier byte and each key slot alike, where a key slot of 0x00 and one
// of 0xFF both mean "no key".
#pragma once

#include <array>
#include <cstdint>

namespace protocol {

// Modifier byte, then key usage codes 1..3, as written and as answered.
using AssignmentBytes = std::array<std::uint8_t, 4>;

inline constexpr std::uint8_t kNoKey = 0x00;
inline constexpr std::uint8_t kErasedKey = 0xFF;

// The key slots with 0xFF read as 0x00; the modifier byte as it is.
AssignmentBytes WithoutErasedKeys(const AssignmentBytes& bytes);

bool HoldsWritten(const AssignmentBytes& written, const AssignmentBytes& answered);

}  // namespace protocol
