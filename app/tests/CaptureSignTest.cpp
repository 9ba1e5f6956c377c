// The signs of the key capture: why it cannot work on this desktop, shown in
// the window, and no "listening" sign where nothing can be captured.
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include "app/CaptureAvailability.h"
#include "app/MainForm.h"
#include "app/tests/HookFixtures.h"
#include "app/tests/RecordingSink.h"
#include "app/tests/UnloadedBus.h"

namespace app {
namespace {

CaptureFacts WorkingX11()
{
    CaptureFacts facts;
    facts.hooksLoaded = true;
    facts.platform = QStringLiteral("xcb");
    facts.haveDisplay = true;
    facts.displayReachable = true;
    facts.xinput2 = true;
    return facts;
}

TEST(CaptureSignTest, EachObstacleHasItsReason)
{
    EXPECT_EQ(CaptureUnavailableReason(WorkingX11()), QString());

    CaptureFacts facts = WorkingX11();
    facts.xinput2 = false;
    EXPECT_EQ(CaptureUnavailableReason(facts), "the X server lacks XInput 2");
    facts = WorkingX11();
    facts.platform = QStringLiteral("wayland");
    EXPECT_EQ(CaptureUnavailableReason(facts), "the window runs on wayland, not on X");
    facts = WorkingX11();
    facts.displayReachable = false;
    facts.xinput2 = false;
    EXPECT_EQ(CaptureUnavailableReason(facts), "the X display cannot be reached");
    facts = WorkingX11();
    facts.haveDisplay = facts.displayReachable = facts.xinput2 = false;
    facts.platform = QStringLiteral("wayland");
    EXPECT_EQ(CaptureUnavailableReason(facts), "no X display (DISPLAY not set)");
    facts.hooksLoaded = false;
    EXPECT_EQ(CaptureUnavailableReason(facts), "no keyboard hook library");
}

// These tests run on Qt's offscreen platform: no X window, no capture.
TEST(CaptureSignTest, WindowOffXSaysCaptureIsOffAndNeverListens)
{
    ASSERT_NE(QGuiApplication::platformName(), "xcb");
    const std::string block = test::PrivateBlockName("sign");
    test::RecordingSink sink;
    test::UnloadedBus bus;
    TMainForm form(bus);
    form.SetMessageSink(&sink);
    form.SetHookLibraryFolder(test::RecordingHookFolder());
    form.SetHookBlockName(block);
    form.RunFormCreate();
    shm_unlink(block.c_str());
    ASSERT_TRUE(sink.shown.empty());
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    ASSERT_TRUE(test::SettleWithKeyTabs(form));

    EXPECT_TRUE(form.CaptureOffSign->isVisible());
    EXPECT_TRUE(form.CaptureOffSign->text().startsWith("Key capture is off: "))
        << form.CaptureOffSign->text().toStdString();
    EXPECT_TRUE(form.CaptureOffSign->toolTip().contains("varnok-pedal write"));
    form.RzEdit1->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(form.RzEdit1->hasFocus());
    EXPECT_FALSE(form.ListeningSign->isVisible());
    for (const test::ShownBox& box : sink.shown)   // a sign in the window, no box of its own
        EXPECT_FALSE(box.text.contains("capture")) << box.text.toStdString();
}

}  // namespace
}  // namespace app
