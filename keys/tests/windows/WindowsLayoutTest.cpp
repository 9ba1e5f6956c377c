// Key names from Windows keyboard layout handles, loaded by layout id (not
// activated): the names follow the handle given, not the thread's layout.
#include "keys/layout/windows/WindowsLayout.h"

#include <gtest/gtest.h>

#include "keys/KeyNaming.h"

namespace {

HKL Load(const wchar_t* id) { return LoadKeyboardLayoutW(id, KLF_NOTELLSHELL); }

TEST(WindowsLayout, UsLayoutNamesTheKeysAsTheTable) {
    const HKL us = Load(L"00000409");
    ASSERT_NE(us, nullptr);
    const keys::WindowsLayout layout(us);
    EXPECT_EQ(layout.Character(4), U'a');
    EXPECT_EQ(layout.Capital(U'a'), U'A');
    const keys::KeyNaming naming(layout);
    for (const int usage : {4, 28, 29, 30, 45, 49, 56})
        EXPECT_EQ(naming.Name(usage), keys::TableNaming().Name(usage)) << usage;
    EXPECT_EQ(naming.Name(40), "Enter");
}

TEST(WindowsLayout, CapitalsAsKeycapsShowThem) {
    const keys::WindowsLayout layout(Load(L"00000409"));
    EXPECT_EQ(layout.Capital(U'ö'), U'Ö');
    EXPECT_EQ(layout.Capital(U'é'), U'É');
    EXPECT_EQ(layout.Capital(U'ß'), U'ß');
    EXPECT_EQ(layout.Capital(U'#'), U'#');
}

TEST(WindowsLayout, OnlyCharacterPositionsAreLookedUp) {
    const keys::WindowsLayout layout(Load(L"00000409"));
    EXPECT_EQ(layout.Character(40), 0u);    // Enter
    EXPECT_EQ(layout.Character(224), 0u);   // Ctrl
    EXPECT_EQ(layout.Character(0x68), 0u);
}

}  // namespace
