// The window with the recording hook fixture, its creation handler run, and
// the key events of the hook library fed straight to its message handler.
#pragma once

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "app/MainForm.h"
#include "app/tests/HookFixtures.h"
#include "app/tests/RecordingSink.h"
#include "app/tests/UnloadedBus.h"
#include "hookmod/HookMessages.h"

namespace app::test {

inline constexpr std::uint32_t kCtrlScan = 0x1D;
inline constexpr std::uint32_t kAScan = 0x1E;
inline constexpr std::uint32_t kShiftScan = 0x2A;
inline constexpr std::uint32_t kTabScan = 0x0F;

inline std::uint32_t PressData(std::uint32_t scan)
{
    return 1u | (scan << hookmsg::kScanCodeShift);
}

inline std::uint32_t ReleaseData(std::uint32_t scan)
{
    return PressData(scan) | hookmsg::kPreviousStateBit | hookmsg::kReleaseBit;
}

class CaptureWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        form.SetMessageSink(&sink);
        form.SetHookLibraryFolder(RecordingHookFolder());
        form.SetHookBlockName(block);
        form.RunFormCreate();
        ASSERT_TRUE(sink.shown.empty());
    }
    void TearDown() override { RemoveBlock(block); }

    // Shows the window, active, with the key edit box focused: the hook is on.
    void ShowActive()
    {
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        ASSERT_TRUE(SettleWithKeyTabs(form));
        form.RzEdit1->setFocus(Qt::MouseFocusReason);
        ASSERT_TRUE(form.RzEdit1->hasFocus());
    }

    void Key(std::uint32_t scan, bool press)
    {
        form.OnHookMessage(hookmsg::kHookKeyMessage, press ? hookmsg::kKeyDown : hookmsg::kKeyUp,
                           press ? PressData(scan) : ReleaseData(scan));
    }

    std::string block = PrivateBlockName("capture");
    RecordingSink sink;
    UnloadedBus bus;
    TMainForm form{bus};
};

}  // namespace app::test
