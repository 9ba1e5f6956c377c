// The in-memory store of pedal assignments, one row per key tab: the display
// text of the combination and four hexadecimal slot texts (slot 0 modifier
// byte, slots 1..3 key usage codes). Starts with every text empty.
//
// Rows are 0..7 and slots 0..3. Out-of-range indices are safe: setters and
// ResetRow ignore them, getters give empty text and ByteOf gives 0.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace protocol {

class PedalConfigTable {
public:
    static constexpr int kRowCount = 8;
    static constexpr int kSlotCount = 4;

    static bool IsRow(int row) { return row >= 0 && row < kRowCount; }
    static bool IsSlot(int slot) { return slot >= 0 && slot < kSlotCount; }

    const std::string& KeyText(int row) const;
    void SetKeyText(int row, std::string text);

    const std::string& Slot(int row, int slot) const;
    void SetSlot(int row, int slot, std::string text);

    // Byte value of a slot text: read as hexadecimal, invalid or empty gives
    // 0, low 8 bits kept.
    static std::uint8_t SlotByte(std::string_view text);
    std::uint8_t ByteOf(int row, int slot) const;

    // Text form the program writes into slots: "%.2X" (04, 0A, FF).
    static std::string HexByte(std::uint8_t value);

    // Sets the four slots of a row to the text forms of `bytes`.
    void SetRowBytes(int row, const std::array<std::uint8_t, kSlotCount>& bytes);

    // Slots joined by "-", e.g. "02-04-00-00"; empty for a row out of range.
    std::string JoinedCodeText(int row) const;

    // Sets the four slots of a row to "00"; the display text is kept.
    void ResetRow(int row);

private:
    std::array<std::string, kRowCount> keyText_;
    std::array<std::array<std::string, kSlotCount>, kRowCount> keyCode_;
};

}  // namespace protocol
