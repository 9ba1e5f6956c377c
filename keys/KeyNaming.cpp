#include "keys/KeyNaming.h"

#include <cstdio>

#include "keys/CharacterKeys.h"
#include "keys/KeyDisplayNames.h"
#include "keys/KeyNameTable.h"
#include "keys/KeyNames.h"
#include "keys/Utf8.h"

namespace keys {
namespace {

constexpr int kLastKeyRowUsage = kFirstNonKeyUsage - 1;

bool Printable(char32_t c) {
    return c > 0x20 && !(c >= 0x7F && c < 0xA0) && c <= 0x10FFFF && !(c >= 0xD800 && c < 0xE000);
}

bool LatinLetter(char32_t c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
           (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7) || (c >= 0x1E00 && c <= 0x1EFF);
}

// A letter of another script: beyond the Latin and phonetic blocks, and not
// punctuation or symbols.
bool OtherScriptLetter(char32_t c) {
    return c >= 0x370 && !(c >= 0x1E00 && c <= 0x1EFF) && !(c >= 0x2000 && c <= 0x2BFF) &&
           !(c >= 0x3000 && c <= 0x303F);
}

bool LatinLayout(const KeyLayout& layout) {
    int latin = 0;
    int other = 0;
    for (int usage = kFirstLetterUsage; usage <= kLastLetterUsage; ++usage) {
        const char32_t c = layout.Character(usage);
        if (LatinLetter(c)) ++latin;
        else if (OtherScriptLetter(c)) ++other;
    }
    return latin >= other;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

int UnnamedCode(std::string_view name) {
    constexpr std::string_view kPrefix = "Key 0x";
    if (name.size() != kPrefix.size() + 2 || name.substr(0, kPrefix.size()) != kPrefix) return 0;
    const int high = HexDigit(name[kPrefix.size()]);
    const int low = HexDigit(name[kPrefix.size() + 1]);
    if (high < 0 || low < 0) return 0;
    return high * 16 + low;
}

KeyNaming::KeyNaming(const KeyLayout& layout) {
    if (!LatinLayout(layout)) return;
    auto nameOf = [&](int usage) {
        const char32_t c = layout.Character(usage);
        if (!Printable(c)) return;
        const char32_t capital = layout.Capital(c);
        std::string& name = layoutNames_[static_cast<std::size_t>(usage)];
        name.clear();
        AppendUtf8(name, Printable(capital) ? capital : c);
        followsLayout_ = true;
    };
    for (const CharacterKey& key : kCharacterKeys) nameOf(key.usage);
    nameOf(kIsoKey.usage);
}

std::string KeyNaming::Name(int usage) const {
    if (usage < 1 || usage > 255) return {};
    const std::string& layoutName = layoutNames_[static_cast<std::size_t>(usage)];
    if (!layoutName.empty()) return layoutName;
    if (const std::string_view shown = DisplayKeyName(usage, language_); !shown.empty())
        return std::string(shown);
    const std::string_view tableName = KeyName(usage);
    if (!tableName.empty()) return std::string(tableName);
    return UnnamedCodeName(usage);
}

std::string KeyNaming::KeySlotName(int code) const {
    if (code >= 1 && code <= kLastKeyRowUsage) return Name(code);
    if (code > kLastKeyRowUsage && code <= 255) return UnnamedCodeName(code);
    return {};
}

int KeyNaming::Usage(std::string_view name) const {
    if (name.empty()) return 0;
    for (std::size_t usage = 1; usage < layoutNames_.size(); ++usage)
        if (layoutNames_[usage] == name) return static_cast<int>(usage);
    if (const int usage = DisplayKeyUsage(name, language_); usage != 0) return usage;
    if (const int usage = UsageNumber(name); usage != 0) return usage;
    return UnnamedCode(name);
}

const KeyNaming& TableNaming() {
    static const KeyNaming naming;
    return naming;
}

std::string UnnamedCodeName(int code) {
    char text[16];
    std::snprintf(text, sizeof text, "Key 0x%02X", static_cast<unsigned>(code & 0xFF));
    return text;
}

bool PedalCanHold(int usage) {
    return (usage >= 1 && usage <= kLastKeyRowUsage) ||
           (usage >= kFirstModifierUsage && usage <= kLastModifierUsage);
}

}  // namespace keys
