#include "keys/KeyNaming.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "keys/CharacterKeys.h"

namespace {

// A layout given as usage -> level-1 character; capitals of ASCII letters
// and of the few accented letters used here.
class FakeLayout final : public keys::KeyLayout {
public:
    explicit FakeLayout(std::map<int, char32_t> characters) : characters_(std::move(characters)) {}
    char32_t Character(int usage) const override {
        const auto it = characters_.find(usage);
        return it == characters_.end() ? 0 : it->second;
    }
    char32_t Capital(char32_t c) const override {
        if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
        if (c == U'ö') return U'Ö';
        if (c >= U'а' && c <= U'я') return c - U'а' + U'А';
        return c;
    }

private:
    std::map<int, char32_t> characters_;
};

// Letters a..z at A..Z, with `changes` on top.
std::map<int, char32_t> UsLetters(std::map<int, char32_t> changes = {}) {
    std::map<int, char32_t> characters;
    for (int i = 0; i < 26; ++i) characters[4 + i] = static_cast<char32_t>('a' + i);
    for (const auto& [usage, c] : changes) characters[usage] = c;
    return characters;
}

std::map<int, char32_t> CyrillicLetters() {
    std::map<int, char32_t> characters;
    for (int i = 0; i < 26; ++i) characters[4 + i] = static_cast<char32_t>(U'а' + i);
    characters[56] = '.';
    return characters;
}

struct NamingCase {
    const char* what;
    std::map<int, char32_t> layout;
    int usage;
    const char* name;
};

class LayoutNamingCases : public testing::TestWithParam<NamingCase> {};

TEST_P(LayoutNamingCases, NameAndTheUsageItMeans) {
    const FakeLayout layout(GetParam().layout);
    const keys::KeyNaming naming(layout);
    EXPECT_EQ(naming.Name(GetParam().usage), GetParam().name) << GetParam().what;
    EXPECT_EQ(naming.Usage(GetParam().name), GetParam().usage) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, LayoutNamingCases,
    testing::Values(
        NamingCase{"letters as capitals", UsLetters({{28, 'z'}, {29, 'y'}}), 28, "Z"},
        NamingCase{"a moved letter's own name wins", UsLetters({{28, 'z'}, {29, 'y'}}), 29, "Y"},
        NamingCase{"accented capital", UsLetters({{51, U'ö'}}), 51, "Ö"},
        NamingCase{"no capital: as it is", UsLetters({{45, U'ß'}}), 45, "ß"},
        NamingCase{"ISO key", UsLetters({{100, '<'}}), 100, "<"},
        NamingCase{"a character with a table name elsewhere", UsLetters({{56, '-'}}), 56, "-"},
        NamingCase{"no character: table name", UsLetters(), 52, "'"},
        NamingCase{"control character: table name", UsLetters({{47, 0x1B}}), 47, "["},
        NamingCase{"non-character key", UsLetters(), 40, "Enter"},
        NamingCase{"modifier", UsLetters(), 224, "Ctrl"},
        NamingCase{"non-Latin letters: table names", CyrillicLetters(), 4, "A"},
        NamingCase{"non-Latin layout: its punctuation too", CyrillicLetters(), 55, "."},
        NamingCase{"no name: the number", UsLetters(), 0x68, "Key 0x68"}));

TEST(KeyNaming, TableNamesStillMeanTheirKeysWhereTheLayoutHasNoSuchName) {
    const FakeLayout layout(UsLetters({{28, 'z'}, {29, 'y'}, {51, U'ö'}}));
    const keys::KeyNaming naming(layout);
    EXPECT_EQ(naming.Usage(";"), 51);
    EXPECT_EQ(naming.Usage("Num +"), 87);
    EXPECT_EQ(naming.Usage("Key 0xe0"), 224);
    EXPECT_TRUE(naming.FollowsLayout());
    EXPECT_FALSE(keys::KeyNaming(FakeLayout(CyrillicLetters())).FollowsLayout());
}

// Without a layout every code 1..255 has a name, and the name means that
// code again: a read-out written back is the same bytes.
TEST(KeyNaming, EveryCodeRoundTripsThroughItsTableName) {
    const keys::KeyNaming naming;
    for (int code = 1; code <= 255; ++code) {
        const std::string name = naming.Name(code);
        ASSERT_FALSE(name.empty()) << code;
        EXPECT_EQ(naming.Usage(name), code) << name;
    }
    EXPECT_EQ(naming.Name(0), "");
    EXPECT_EQ(naming.Name(50), "Non-US #");
    EXPECT_EQ(naming.Name(100), "Non-US \\");
    EXPECT_EQ(naming.Name(0x68), "Key 0x68");
}

TEST(KeyNaming, NamesThatMeanNoCode) {
    const keys::KeyNaming naming;
    for (const char* name : {"", "Key 0x", "Key 0x1", "Key 0x123", "Key 0xG1", "key 0x10", "F13",
                             "Volume Up", "Key 68", "a"})
        EXPECT_EQ(naming.Usage(name), 0) << name;
}

TEST(KeyNaming, ThePedalHoldsKeyRowsAndModifiersOnly) {
    struct Case {
        int usage;
        bool holds;
    };
    for (const Case c : {Case{0, false}, Case{1, true}, Case{4, true}, Case{50, true},
                         Case{100, true}, Case{101, true}, Case{102, false}, Case{0x68, false},
                         Case{223, false}, Case{224, true}, Case{231, true}, Case{232, false}})
        EXPECT_EQ(keys::PedalCanHold(c.usage), c.holds) << c.usage;
}

}  // namespace

// In German the keys that type no character are named as German keycaps
// print them, beside the layout's characters; every name, the table's too,
// means the same code, and other languages keep the table's names.
TEST(KeyNamingLanguage, GermanKeycapNamesForTheOtherKeys) {
    keys::KeyNaming german(FakeLayout(UsLetters({{29, U'y'}, {28, U'z'}})));
    german.SetLanguage("de_DE");
    const struct {
        int usage;
        const char* german;
        const char* table;
    } cases[] = {
        {224, "Strg", "Ctrl"},         {225, "Umschalt", "Shift"}, {76, "Entf", "Delete"},
        {74, "Pos1", "Home"},          {75, "Bild auf", "Page Up"}, {78, "Bild ab", "Page Down"},
        {73, "Einfg", "Insert"},       {230, "Alt Gr", "Right Alt"}, {226, "Alt", "Alt"},
        {62, "F5", "F5"},              {28, "Z", "Y"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.german);
        EXPECT_EQ(german.Name(c.usage), c.german);
        EXPECT_EQ(german.Usage(c.german), c.usage);
        EXPECT_EQ(keys::TableNaming().Name(c.usage), c.table);
    }
    EXPECT_EQ(german.Usage("Ctrl"), 224);   // the table's names still parse
    EXPECT_EQ(german.Usage("Page Up"), 75);

    keys::KeyNaming chinese;
    chinese.SetLanguage("zh_CN");
    EXPECT_EQ(chinese.Name(224), "Ctrl");
    EXPECT_EQ(chinese.Usage("Strg"), 0);
    EXPECT_EQ(keys::TableNaming().Usage("Strg"), 0);   // the command line's names

    // Every German name is one key's, and names no character key.
    for (int usage = 1; usage <= 255; ++usage) {
        const std::string name = german.Name(usage);
        if (!name.empty()) EXPECT_EQ(german.Usage(name), usage) << name;
    }
}
