#include "keys/KeyNames.h"

#include <array>
#include <cstdint>

namespace keys {
namespace {

// Usage number -> row index + 1 (0: no row). Built at compile time.
constexpr std::array<std::uint8_t, 256> BuildUsageIndex() {
    std::array<std::uint8_t, 256> index{};
    for (std::size_t i = 0; i < KeyNameTable.size(); ++i)
        index[static_cast<std::size_t>(KeyNameTable[i].number)] =
            static_cast<std::uint8_t>(i + 1);
    return index;
}

constexpr std::array<std::uint8_t, 256> kUsageIndex = BuildUsageIndex();

}  // namespace

std::string_view KeyName(int usage) {
    if (usage < 0 || usage > 255) return {};
    const std::uint8_t slot = kUsageIndex[static_cast<std::size_t>(usage)];
    return slot == 0 ? std::string_view{} : KeyNameTable[slot - 1u].name;
}

int UsageNumber(std::string_view name) {
    for (const KeyNameRow& row : KeyNameTable)
        if (row.name == name) return row.number;
    return 0;
}

void HIDtoKey(int usage, std::string& out) {
    out.assign(KeyName(usage));
}

void changekey(std::string_view name, std::string& out) {
    out = std::to_string(UsageNumber(name));
}

void Strtokeys(std::string_view name, std::string& out) {
    changekey(name, out);
}

}  // namespace keys
