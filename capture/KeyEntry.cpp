#include "capture/KeyEntry.h"

#include <cstdint>

#include "keys/KeyNameTable.h"

namespace capture {
namespace {

constexpr int kLastKeySlot = 3;
constexpr int kLastKeyUsage = 101;

}  // namespace

std::optional<std::string> ApplyKeyEntry(std::string_view text, int tab,
                                         const std::vector<std::string>& capturedKeys,
                                         protocol::PedalConfigTable& table,
                                         const keys::KeyNaming& naming) {
    table.SetKeyText(tab, std::string(text));
    if (capturedKeys.empty()) return std::nullopt;

    table.ResetRow(tab);
    std::string shown;
    int slot = 0;
    for (const std::string& name : capturedKeys) {
        const int n = naming.Usage(name);
        if (n >= 1 && n <= kLastKeyUsage) {
            if (slot < kLastKeySlot) {
                ++slot;
                table.SetSlot(tab, slot, protocol::PedalConfigTable::HexByte(
                                             static_cast<std::uint8_t>(n)));
            }
        } else if (n >= keys::kFirstModifierUsage && n <= keys::kLastModifierUsage) {
            const std::uint8_t bits = table.ByteOf(tab, 0);
            const auto bit = static_cast<std::uint8_t>(1u << (n - keys::kFirstModifierUsage));
            table.SetSlot(tab, 0, protocol::PedalConfigTable::HexByte(
                                      static_cast<std::uint8_t>(bits | bit)));
        }
        shown = table.JoinedCodeText(tab);
    }
    return shown;
}

}  // namespace capture
