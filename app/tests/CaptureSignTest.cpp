// The signs of the key capture: why it cannot work on this desktop, shown in
// the window, and no "listening" sign where nothing can be captured.
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include "app/MainForm.h"
#include "app/tests/HookFixtures.h"
#include "app/tests/RecordingSink.h"
#include "app/tests/UnloadedBus.h"

namespace app {
namespace {

// These tests run on Qt's offscreen platform: no window of the desktop, no
// capture.
TEST(CaptureSignTest, OffscreenWindowSaysCaptureIsOffAndNeverListens)
{
    ASSERT_EQ(QGuiApplication::platformName(), "offscreen");
    const std::string block = test::PrivateBlockName("sign");
    test::RecordingSink sink;
    test::UnloadedBus bus;
    TMainForm form(bus);
    form.SetMessageSink(&sink);
    form.SetHookLibraryFolder(test::RecordingHookFolder());
    form.SetHookBlockName(block);
    form.RunFormCreate();
    test::RemoveBlock(block);
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
