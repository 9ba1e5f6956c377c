// Key capture in the window: hook messages in, key edit box, diagnostic
// fields and configuration table out.
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <xcb/xcb.h>

#include <gtest/gtest.h>

#include "app/HookMessageFilter.h"
#include "app/MainForm.h"
#include "app/tests/UnloadedBus.h"
#include "app/TabBar.h"
#include "app/TabControl.h"
#include "app/tests/HookFixtures.h"
#include "app/tests/RecordingSink.h"
#include "hookmod/HookMessages.h"

namespace app {
namespace {

constexpr std::uint32_t kCtrlScan = 0x1D;
constexpr std::uint32_t kAScan = 0x1E;
constexpr std::uint32_t kShiftScan = 0x2A;
constexpr std::uint32_t kTabScan = 0x0F;

std::uint32_t PressData(std::uint32_t scan)
{
    return 1u | (scan << hookmsg::kScanCodeShift);
}

std::uint32_t ReleaseData(std::uint32_t scan)
{
    return PressData(scan) | hookmsg::kPreviousStateBit | hookmsg::kReleaseBit;
}

class CaptureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form.SetMessageSink(&sink);
        form.SetHookLibraryFolder(test::RecordingHookFolder());
        form.SetHookBlockName(block);
        form.RunFormCreate();
        ASSERT_TRUE(sink.shown.empty());
    }
    void TearDown() override { shm_unlink(block.c_str()); }

    // Shows the window, active, with the key edit box focused: the hook is on.
    void ShowActive()
    {
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        ASSERT_TRUE(test::SettleWithKeyTabs(form));
        form.RzEdit1->setFocus(Qt::MouseFocusReason);
        ASSERT_TRUE(form.RzEdit1->hasFocus());
    }

    void Key(std::uint32_t scan, bool press)
    {
        form.OnHookMessage(hookmsg::kHookKeyMessage, press ? hookmsg::kKeyDown : hookmsg::kKeyUp,
                           press ? PressData(scan) : ReleaseData(scan));
    }

    std::string block = test::PrivateBlockName("capture");
    test::RecordingSink sink;
    test::UnloadedBus bus;
    TMainForm form{bus};
};

TEST_F(CaptureTest, ReleaseShowsTheCombinationAndEntersIt)
{
    ShowActive();
    Key(kCtrlScan, true);
    Key(kAScan, true);
    Key(kAScan, false);

    EXPECT_EQ(form.RzEdit1->text(), "Ctrl+A");
    EXPECT_EQ(form.Edit1->text(), "224-4");
    EXPECT_EQ(form.Edit2->text(), "01-04-00-00");
    EXPECT_EQ(form.PedalConfigTable.KeyText(0), "Ctrl+A");
    EXPECT_EQ(form.PedalConfigTable.JoinedCodeText(0), "01-04-00-00");
    EXPECT_EQ(form.Capture->CapturedKeyList(), std::vector<std::string>{"Ctrl"});

    // Releasing Ctrl afterwards shows nothing more.
    Key(kCtrlScan, false);
    EXPECT_EQ(form.RzEdit1->text(), "Ctrl+A");
    EXPECT_TRUE(form.Capture->CapturedKeyList().empty());
}

TEST_F(CaptureTest, EntryGoesToTheSelectedTab)
{
    ShowActive();
    form.RzTabControl1->setTabVisible(1, true);
    form.RzTabControl1->setCurrentIndex(1);
    Key(kShiftScan, true);
    Key(kAScan, true);
    Key(kShiftScan, false);

    EXPECT_EQ(form.PedalConfigTable.KeyText(1), "Shift+A");
    EXPECT_EQ(form.PedalConfigTable.JoinedCodeText(1), "02-04-00-00");
    EXPECT_EQ(form.PedalConfigTable.JoinedCodeText(0), "---");
}

TEST_F(CaptureTest, MessagesAreIgnoredWhileTheWindowIsInactive)
{
    ASSERT_FALSE(form.isActiveWindow());
    Key(kCtrlScan, true);
    Key(kAScan, true);
    Key(kAScan, false);
    EXPECT_TRUE(form.Capture->CapturedKeyList().empty());
    EXPECT_EQ(form.RzEdit1->text(), "");
}

TEST_F(CaptureTest, ShownTextWithoutCaptureOnlyStoresTheText)
{
    form.PedalConfigTable.SetRowBytes(0, {0x02, 0x04, 0x00, 0x00});
    int changes = 0;
    QObject::connect(form.RzEdit1, &QLineEdit::textChanged, [&changes] { ++changes; });

    form.RzEdit1->setText(QStringLiteral("Shift+A"));
    form.RzEdit1->setText(QStringLiteral("Shift+A"));   // same text: no change
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(form.PedalConfigTable.KeyText(0), "Shift+A");
    EXPECT_EQ(form.PedalConfigTable.JoinedCodeText(0), "02-04-00-00");
    EXPECT_EQ(form.Edit2->text(), "Edit2");
}

// Tab and Shift+Tab move the focus on, as in any dialog; the Tab that took
// the focus out is not captured, and nothing held then reaches the next
// combination.
TEST_F(CaptureTest, TabLeavesTheKeyBoxAndIsNotCaptured)
{
    ShowActive();
    Key(kTabScan, true);   // the hook reports the press before the box sees it
    QTest::keyClick(form.RzEdit1, Qt::Key_Tab);
    EXPECT_FALSE(form.RzEdit1->hasFocus());
    Key(kTabScan, false);  // on its way while the hook went off
    EXPECT_TRUE(form.Capture->CapturedKeyList().empty());

    form.RzEdit1->setFocus(Qt::MouseFocusReason);
    Key(kShiftScan, true);
    Key(kTabScan, true);
    QTest::keyClick(form.RzEdit1, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_FALSE(form.RzEdit1->hasFocus());
    EXPECT_TRUE(form.Capture->CapturedKeyList().empty());
    EXPECT_EQ(form.RzEdit1->text(), "");

    form.RzEdit1->setFocus(Qt::MouseFocusReason);
    Key(kCtrlScan, true);
    Key(kAScan, true);
    Key(kAScan, false);
    EXPECT_EQ(form.RzEdit1->text(), "Ctrl+A");
    EXPECT_EQ(form.PedalConfigTable.JoinedCodeText(0), "01-04-00-00");
}

// Only a capture changes the codes: the text of another tab, shown while a
// key is still held, keeps its row's codes.
TEST_F(CaptureTest, ProgramTextsNeverTakeTheHeldKeys)
{
    ShowActive();
    form.RzTabControl1->setTabVisible(1, true);
    form.PedalConfigTable.SetRowBytes(1, {0x02, 0x05, 0x00, 0x00});
    form.PedalConfigTable.SetKeyText(1, "Shift+B");
    Key(kCtrlScan, true);
    Key(kAScan, true);
    Key(kAScan, false);   // Ctrl+A for pedal 1, Ctrl still held
    ASSERT_EQ(form.PedalConfigTable.JoinedCodeText(0), "01-04-00-00");

    const QRect second = form.RzTabControl1->tabBar()->tabRect(1);
    QTest::mouseClick(form.RzTabControl1->tabBar(), Qt::LeftButton, {}, second.center());
    ASSERT_EQ(form.RzTabControl1->currentIndex(), 1);
    EXPECT_EQ(form.RzEdit1->text(), "Shift+B");
    EXPECT_EQ(form.PedalConfigTable.JoinedCodeText(1), "02-05-00-00");

    EXPECT_EQ(form.PedalConfigTable.JoinedCodeText(0), "01-04-00-00");
}

// Builds the ClientMessage the hook library sends.
xcb_client_message_event_t HookEvent(xcb_window_t window, xcb_atom_t atom, std::uint32_t message,
                                     std::uint32_t wParam, std::uint32_t lParam)
{
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE | 0x80;   // sent by another client
    event.format = 32;
    event.window = window;
    event.type = atom;
    event.data.data32[hookmsg::kDataMessage] = message;
    event.data.data32[hookmsg::kDataWParam] = wParam;
    event.data.data32[hookmsg::kDataLParam] = lParam;
    return event;
}

TEST_F(CaptureTest, NativeFilterTakesOnlyHookMessagesForThisWindow)
{
    ShowActive();
    constexpr xcb_atom_t kAtom = 321;
    HookMessageFilter filter(form, kAtom);
    const auto window = static_cast<xcb_window_t>(form.winId());
    const QByteArray xcb("xcb_generic_event_t");

    auto feed = [&](xcb_client_message_event_t event, const QByteArray& type = "xcb_generic_event_t") {
        return filter.nativeEventFilter(type, &event, nullptr);
    };
    // Not for us: another atom, another window, another event type, another
    // platform's events.
    EXPECT_FALSE(feed(HookEvent(window, kAtom + 1, hookmsg::kHookLeftWindows, hookmsg::kKeyDown, 0)));
    EXPECT_FALSE(feed(HookEvent(window + 1, kAtom, hookmsg::kHookLeftWindows, hookmsg::kKeyDown, 0)));
    xcb_client_message_event_t keyPress = HookEvent(window, kAtom, hookmsg::kHookLeftWindows,
                                                    hookmsg::kKeyDown, 0);
    keyPress.response_type = XCB_KEY_PRESS;
    EXPECT_FALSE(feed(keyPress));
    EXPECT_FALSE(feed(HookEvent(window, kAtom, hookmsg::kHookLeftWindows, hookmsg::kKeyDown, 0),
                      "windows_generic_MSG"));
    EXPECT_TRUE(form.Capture->CapturedKeyList().empty());

    // Left Windows + A, sent events and one that was not sent.
    EXPECT_TRUE(feed(HookEvent(window, kAtom, hookmsg::kHookLeftWindows, hookmsg::kKeyDown, 0)));
    xcb_client_message_event_t aPress =
        HookEvent(window, kAtom, hookmsg::kHookKeyMessage, hookmsg::kKeyDown, PressData(kAScan));
    aPress.response_type = XCB_CLIENT_MESSAGE;
    EXPECT_TRUE(feed(aPress));
    EXPECT_TRUE(feed(HookEvent(window, kAtom, hookmsg::kHookKeyMessage, hookmsg::kKeyUp,
                               ReleaseData(kAScan))));
    EXPECT_EQ(form.RzEdit1->text(), "Left Windows+A");
    EXPECT_EQ(form.PedalConfigTable.JoinedCodeText(0), "08-04-00-00");
}

}  // namespace
}  // namespace app
