// Key capture in the window: hook messages in, key edit box, diagnostic
// fields and configuration table out.
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "app/MainForm.h"
#include "app/TabBar.h"
#include "app/TabControl.h"
#include "app/tests/CaptureWindow.h"
#include "keys/tests/GermanLetters.h"

namespace app {
namespace {

using CaptureTest = test::CaptureWindow;
using test::kAScan;
using test::kCtrlScan;
using test::kShiftScan;
using test::kTabScan;

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

// A key the pedal cannot hold: the reason shows, the key box and the row
// keep the combination they had, and the next capture takes the sign away.
TEST_F(CaptureTest, AKeyThePedalCannotHoldIsRefusedWithTheReason)
{
    constexpr std::uint32_t kF13Scan = 0x64;
    ShowActive();
    Key(kCtrlScan, true);
    Key(kAScan, true);
    Key(kAScan, false);
    Key(kCtrlScan, false);
    Key(kCtrlScan, true);
    Key(kF13Scan, true);
    Key(kF13Scan, false);
    Key(kCtrlScan, false);

    EXPECT_TRUE(form.KeyRefusedSign->isVisible());
    EXPECT_EQ(form.KeyRefusedSign->text(), "F13 cannot be given to the pedal");
    EXPECT_EQ(form.RzEdit1->text(), "Ctrl+A");
    EXPECT_EQ(form.PedalConfigTable.JoinedCodeText(0), "01-04-00-00");

    Key(kShiftScan, true);
    Key(kShiftScan, false);
    EXPECT_FALSE(form.KeyRefusedSign->isVisible());
    EXPECT_EQ(form.PedalConfigTable.JoinedCodeText(0), "02-00-00-00");
}

// Keys show as the layout labels them and are entered by position.
TEST_F(CaptureTest, TheCombinationIsNamedInTheLayout)
{
    constexpr std::uint32_t kUsYScan = 0x15;
    form.SetKeyNaming(keys::KeyNaming(keys::testing::GermanLetters()));
    ShowActive();
    Key(kCtrlScan, true);
    Key(kUsYScan, true);
    Key(kUsYScan, false);

    EXPECT_EQ(form.RzEdit1->text(), "Ctrl+Z");
    EXPECT_EQ(form.Edit1->text(), "224-28");
    EXPECT_EQ(form.PedalConfigTable.JoinedCodeText(0), "01-1C-00-00");
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

}  // namespace
}  // namespace app
