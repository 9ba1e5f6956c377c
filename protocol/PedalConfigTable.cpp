#include "protocol/PedalConfigTable.h"

#include <utility>

#include "protocol/HexText.h"

namespace protocol {
namespace {

const std::string kNoText;

}  // namespace

const std::string& PedalConfigTable::KeyText(int row) const {
    return IsRow(row) ? keyText_[static_cast<std::size_t>(row)] : kNoText;
}

void PedalConfigTable::SetKeyText(int row, std::string text) {
    if (IsRow(row)) keyText_[static_cast<std::size_t>(row)] = std::move(text);
}

const std::string& PedalConfigTable::Slot(int row, int slot) const {
    if (!IsRow(row) || !IsSlot(slot)) return kNoText;
    return keyCode_[static_cast<std::size_t>(row)][static_cast<std::size_t>(slot)];
}

void PedalConfigTable::SetSlot(int row, int slot, std::string text) {
    if (!IsRow(row) || !IsSlot(slot)) return;
    keyCode_[static_cast<std::size_t>(row)][static_cast<std::size_t>(slot)] =
        std::move(text);
}

std::uint8_t PedalConfigTable::SlotByte(std::string_view text) {
    return static_cast<std::uint8_t>(ParseHexOrZero(text) & 0xFFu);
}

std::uint8_t PedalConfigTable::ByteOf(int row, int slot) const {
    return SlotByte(Slot(row, slot));
}

std::string PedalConfigTable::HexByte(std::uint8_t value) {
    return HexByteText(value);
}

void PedalConfigTable::SetRowBytes(int row,
                                   const std::array<std::uint8_t, kSlotCount>& bytes) {
    if (!IsRow(row)) return;
    for (int slot = 0; slot < kSlotCount; ++slot)
        SetSlot(row, slot, HexByte(bytes[static_cast<std::size_t>(slot)]));
}

std::string PedalConfigTable::JoinedCodeText(int row) const {
    if (!IsRow(row)) return {};
    std::string text;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (slot > 0) text += '-';
        text += Slot(row, slot);
    }
    return text;
}

void PedalConfigTable::ResetRow(int row) {
    if (!IsRow(row)) return;
    for (int slot = 0; slot < kSlotCount; ++slot) SetSlot(row, slot, "00");
}

}  // namespace protocol
