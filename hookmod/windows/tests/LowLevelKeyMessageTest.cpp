// What Hookmod.dll posts for each low-level key event.
#include <gtest/gtest.h>

#include "hookmod/HookMessages.h"
#include "hookmod/windows/LowLevelKeyMessage.h"

namespace hookmod::windows {
namespace {

LowLevelKey Key(std::uint32_t vk, std::uint32_t scan, bool extended = false, bool release = false) {
    LowLevelKey key;
    key.vkCode = vk;
    key.scanCode = scan;
    key.extended = extended;
    key.release = release;
    return key;
}

TEST(LowLevelKeyMessage, PressRepeatAndReleaseCarryTheKeyDataBits) {
    const auto press = MakeLowLevelKeyMessage(Key('A', 0x1E), false);
    EXPECT_EQ(press.message, hookmsg::kHookKeyMessage);
    EXPECT_EQ(press.wParam, 256u);
    EXPECT_EQ(press.lParam, 0x001E0001u);
    const auto repeat = MakeLowLevelKeyMessage(Key('A', 0x1E), true);
    EXPECT_EQ(repeat.wParam, 256u);
    EXPECT_EQ(repeat.lParam, 0x401E0001u);
    const auto release = MakeLowLevelKeyMessage(Key('A', 0x1E, false, true), true);
    EXPECT_EQ(release.wParam, 257u);
    EXPECT_EQ(release.lParam, 0xC01E0001u);
    // Right Ctrl: the extended flag; a scan code is one byte.
    EXPECT_EQ(MakeLowLevelKeyMessage(Key(0xA3, 0x1D, true), false).lParam, 0x011D0001u);
    EXPECT_EQ(MakeLowLevelKeyMessage(Key('B', 0x130), false).lParam, 0x00300001u);
}

TEST(LowLevelKeyMessage, WindowsAndApplicationKeysHaveMessagesOfTheirOwn) {
    EXPECT_EQ(MakeLowLevelKeyMessage(Key(0x5B, 0x5B, true), false).message, hookmsg::kHookLeftWindows);
    EXPECT_EQ(MakeLowLevelKeyMessage(Key(0x5C, 0x5C, true), false).message, hookmsg::kHookRightWindows);
    const auto apps = MakeLowLevelKeyMessage(Key(0x5D, 0x5D, true, true), true);
    EXPECT_EQ(apps.message, hookmsg::kHookApplication);
    EXPECT_EQ(apps.wParam, 257u);
    EXPECT_EQ(apps.lParam, 0xC15D0001u);
    EXPECT_EQ(MakeLowLevelKeyMessage(Key(0xA2, 0x1D), false).message, hookmsg::kHookKeyMessage);
}

}  // namespace
}  // namespace hookmod::windows
