// Key names of xkb layouts by name, compiled by libxkbcommon from the
// system's keyboard data; no X server involved.
#include "keys/layout/XkbLayout.h"

#include <gtest/gtest.h>

#include <string>

#include "keys/CharacterKeys.h"
#include "keys/KeyNaming.h"

namespace {

struct LayoutCase {
    const char* layout;
    int usage;
    const char* name;
};

void PrintTo(const LayoutCase& c, std::ostream* os) {
    *os << c.layout << " usage " << c.usage << " \"" << c.name << "\"";
}

class XkbLayoutNames : public testing::TestWithParam<LayoutCase> {};

TEST_P(XkbLayoutNames, NameTheKeyAsThatKeyboardLabelsIt) {
    const auto layout = keys::XkbLayout::FromName(GetParam().layout);
    ASSERT_NE(layout, nullptr);
    const keys::KeyNaming naming(*layout);
    EXPECT_EQ(naming.Name(GetParam().usage), GetParam().name);
    // The name means a key at the same place.
    EXPECT_EQ(keys::CharacterScanCode(naming.Usage(GetParam().name)),
              keys::CharacterScanCode(GetParam().usage));
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, XkbLayoutNames,
    testing::Values(
        LayoutCase{"us", 28, "Y"}, LayoutCase{"us", 29, "Z"}, LayoutCase{"us", 53, "`"},
        LayoutCase{"us", 49, "\\"}, LayoutCase{"us", 40, "Enter"},
        LayoutCase{"de", 28, "Z"}, LayoutCase{"de", 29, "Y"}, LayoutCase{"de", 45, "ß"},
        LayoutCase{"de", 47, "Ü"}, LayoutCase{"de", 51, "Ö"}, LayoutCase{"de", 52, "Ä"},
        LayoutCase{"de", 53, "^"}, LayoutCase{"de", 46, "´"}, LayoutCase{"de", 48, "+"},
        LayoutCase{"de", 50, "#"}, LayoutCase{"de", 100, "<"}, LayoutCase{"de", 56, "-"},
        LayoutCase{"de", 224, "Ctrl"}, LayoutCase{"de", 89, "Num 1"}, LayoutCase{"de", 0x68, "Key 0x68"},
        LayoutCase{"fr", 20, "A"}, LayoutCase{"fr", 4, "Q"}, LayoutCase{"fr", 29, "W"},
        LayoutCase{"fr", 16, ","}, LayoutCase{"fr", 51, "M"}, LayoutCase{"fr", 30, "&"},
        LayoutCase{"fr", 31, "É"}, LayoutCase{"fr", 47, "^"},
        LayoutCase{"it", 47, "È"}, LayoutCase{"it", 51, "Ò"}, LayoutCase{"it", 52, "À"},
        LayoutCase{"it", 49, "Ù"}, LayoutCase{"it", 46, "Ì"}, LayoutCase{"it", 48, "+"},
        LayoutCase{"ru", 4, "A"}, LayoutCase{"ru", 20, "Q"}, LayoutCase{"ru", 55, "."},
        LayoutCase{"ru", 56, "/"}, LayoutCase{"ru", 30, "1"}));

TEST(XkbLayout, FollowsLatinLayoutsOnly) {
    for (const char* name : {"us", "de", "fr", "it"}) {
        const auto layout = keys::XkbLayout::FromName(name);
        ASSERT_NE(layout, nullptr) << name;
        EXPECT_TRUE(keys::KeyNaming(*layout).FollowsLayout()) << name;
    }
    const auto russian = keys::XkbLayout::FromName("ru");
    ASSERT_NE(russian, nullptr);
    EXPECT_FALSE(keys::KeyNaming(*russian).FollowsLayout());
}

TEST(XkbLayout, UnknownLayoutNameGivesNoLayout) {
    EXPECT_EQ(keys::XkbLayout::FromName("no-such-layout"), nullptr);
    EXPECT_EQ(keys::XkbLayout::FromName(""), nullptr);
}

}  // namespace
