// Read-out and write-in with the simulated pedal: the reports on the wire,
// the decoding of answers, the timer that repeats an unanswered read-out,
// the check that reads a write-in back, and what a write-in tells the user.
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include <cerrno>
#include <chrono>

#include "app/AccessAdvice.h"
#include "app/TabControl.h"
#include "app/WriteInOutcome.h"
#include "app/tests/PedalWindow.h"
#include "keys/tests/GermanLetters.h"

namespace app {
namespace {

using test::PedalWindow;
using test::VirtualDeviceDescription;

using Bytes = std::vector<std::uint8_t>;

class ExchangeTest : public PedalWindow {
protected:
    const test::ShownBox& OnlyBox() const
    {
        EXPECT_EQ(sink.shown.size(), 1u);
        return sink.shown.back();
    }
};

TEST_F(ExchangeTest, PedalThatNeverAnswersIsAskedAgainByTheTimer)
{
    test::Pedal& pedal = Plug();
    pedal.Firmware().SetOptions({.silent = true});
    Start();
    EXPECT_TRUE(form->ReadPending);
    EXPECT_TRUE(form->Timer1->isActive());
    // Selected, then found.
    ASSERT_TRUE(WaitFor([&] { return pedal.Firmware().ReadRequestCount() >= 2; }));
    const unsigned firstRequests = pedal.Firmware().ReadRequestCount();

    ASSERT_TRUE(WaitFor([&] { return pedal.Firmware().ReadRequestCount() >= firstRequests + 2; }));
    EXPECT_TRUE(form->ReadPending);
    EXPECT_EQ(form->RzLabel5->text(), "");

    // Once it answers, the repeats end.
    pedal.Firmware().SetOptions({});
    ASSERT_TRUE(WaitFor([this] { return !form->ReadPending; }));
    EXPECT_FALSE(form->Timer1->isActive());
    EXPECT_EQ(form->RzLabel5->text(), "V1.0.0");
}

TEST_F(ExchangeTest, AnswerForAnotherPedalLeavesTheShownText)
{
    test::Pedal& pedal = Plug();
    StartAndWaitForAnswers();
    ASSERT_EQ(form->RzTabControl1->currentIndex(), 0);

    pedal.Device()->InjectInput(Bytes{0x02, 0x81, 0x01, 0x02, 0x04, 0x00, 0x00, 0x00});
    ASSERT_TRUE(WaitFor([this] { return form->PedalConfigTable.KeyText(1) == "Shift+A"; }));
    EXPECT_EQ(form->PedalConfigTable.JoinedCodeText(1), "02-04-00-00");
    EXPECT_EQ(form->Edit2->text(), "02-04-00-00");
    EXPECT_EQ(form->RzEdit1->text(), "Ctrl+C");
    EXPECT_EQ(form->Edit1->text(), "Ctrl+C");
    EXPECT_EQ(History().last(), "R 02  81 01 02 04 00 00 00 ");
}

TEST_F(ExchangeTest, ReportsThatAreNoUsableAnswerAreOnlyLogged)
{
    test::Pedal& pedal = Plug();
    pedal.Firmware().SetOptions({.silent = true});
    Start();
    const std::string row1 = form->PedalConfigTable.JoinedCodeText(1);

    // Status 0x80: no configuration answer. Pedal index 9: no table row.
    pedal.Device()->InjectInput(Bytes{0x02, 0x80, 0x00, 0x02, 0x04, 0x00, 0x00, 0x00});
    pedal.Device()->InjectInput(Bytes{0x02, 0x81, 0x09, 0x01, 0x06, 0x00, 0x00, 0x00});
    ASSERT_TRUE(WaitFor([this] { return HistoryLines("R").size() == 2; }));
    EXPECT_EQ(HistoryLines("R"),
              (QStringList{"R 02  80 00 02 04 00 00 00 ", "R 02  81 09 01 06 00 00 00 "}));
    EXPECT_TRUE(form->ReadPending);   // still waiting for a real answer
    EXPECT_TRUE(form->Timer1->isActive());
    EXPECT_EQ(form->RzLabel5->text(), "");
    EXPECT_EQ(form->PedalConfigTable.KeyText(0), "");
    EXPECT_EQ(form->PedalConfigTable.JoinedCodeText(1), row1);
    EXPECT_EQ(form->Edit2->text(), "Edit2");
}

TEST_F(ExchangeTest, WriteInSendsTheTableAndSaysDone)
{
    test::Pedal& pedal = Plug();
    StartAndWaitForAnswers();
    form->PedalConfigTable.SetRowBytes(0, {0x02, 0x04, 0x00, 0x00});   // Shift+A
    const int from = form->HistoryListBox->count();

    QTest::mouseClick(form->RzBitBtn1, Qt::LeftButton);
    ASSERT_TRUE(WaitForBoxes(1));

    const auto writes = pedal.Device()->Writes();
    ASSERT_GE(writes.size(), 2u);
    EXPECT_EQ(writes.end()[-2], (Bytes{0x02, 0x02, 0x00, 0x02, 0x04, 0x00, 0x00, 0x00}));
    EXPECT_EQ(pedal.Firmware().GetSlot(0), (sim::PedalFirmware::Slot{0x02, 0x04, 0x00, 0x00}));
    // The write report, then the read request that checks it, and its answer.
    EXPECT_EQ(HistoryLines("W", from), (QStringList{"W 02  02 00 02 04 00 00 00 ", "W 02  01 00 00 00 00 00 00 "}));
    EXPECT_EQ(HistoryLines("R", from), QStringList{"R 02  81 00 02 04 00 00 00 "});
    EXPECT_EQ(form->Write3->text(), "02");
    EXPECT_EQ(form->Write4->text(), "04");
    EXPECT_EQ(form->Write5->text(), "00");
    EXPECT_EQ(form->Write6->text(), "00");

    const test::ShownBox& box = OnlyBox();
    EXPECT_EQ(box.text, test::kSetupDone);
    EXPECT_EQ(box.title, "Write in");
    EXPECT_EQ(box.icon, QMessageBox::Warning);   // the exclamation icon
    EXPECT_EQ(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(box.owner, form.get());
}

// A read-out names the keys as the layout labels them, a code without a name
// by its number, and Write in sends the same bytes back.
TEST_F(ExchangeTest, ReadOutNamesKeysInTheLayoutAndWriteInSendsThemBackUnchanged)
{
    test::Pedal& pedal = Plug();
    pedal.Firmware().SetSlot(0, {0x01, 0x1C, 0x68, 0x00});
    StartAndWaitForAnswers();
    form->SetKeyNaming(keys::KeyNaming(keys::testing::GermanLetters()));
    form->RzBitBtn2Click();
    ASSERT_TRUE(WaitFor([this] { return form->RzEdit1->text() == "Ctrl+Z+Key 0x68"; }))
        << form->RzEdit1->text().toStdString();
    ASSERT_TRUE(WaitForSends());

    QTest::mouseClick(form->RzBitBtn1, Qt::LeftButton);
    ASSERT_TRUE(WaitForBoxes(1));
    EXPECT_EQ(pedal.Firmware().GetSlot(0), (sim::PedalFirmware::Slot{0x01, 0x1C, 0x68, 0x00}));
    EXPECT_EQ(OnlyBox().text, test::kSetupDone);
}

TEST_F(ExchangeTest, WriteInOfThreePedalsSendsOneReportEach)
{
    test::Pedal& pedal = Plug();
    StartAndWaitForAnswers();
    form->RzSpinEdit1->setValue(3);
    ASSERT_TRUE(WaitFor([this] { return form->PedalConfigTable.KeyText(2) == "Enter"; }));
    const std::size_t before = pedal.Device()->WriteCount();

    form->RzBitBtn1Click();
    ASSERT_TRUE(WaitForBoxes(1));
    // Then one read request each, to check them.
    const auto writes = pedal.Device()->Writes();
    ASSERT_EQ(writes.size(), before + 6);
    EXPECT_EQ(writes[before + 0], (Bytes{0x02, 0x02, 0x00, 0x01, 0x06, 0x00, 0x00, 0x00}));
    EXPECT_EQ(writes[before + 1], (Bytes{0x02, 0x02, 0x01, 0x01, 0x19, 0x00, 0x00, 0x00}));
    EXPECT_EQ(writes[before + 2], (Bytes{0x02, 0x02, 0x02, 0x00, 0x28, 0x00, 0x00, 0x00}));
    for (std::uint8_t pedalIndex = 0; pedalIndex < 3; ++pedalIndex)
        EXPECT_EQ(writes[before + 3 + pedalIndex], (Bytes{0x02, 0x01, pedalIndex, 0, 0, 0, 0, 0}));
    EXPECT_EQ(form->Write4->text(), "28");   // the last write report's bytes
    EXPECT_EQ(OnlyBox().text, test::kSetupDone);
}

TEST_F(ExchangeTest, FailedWriteIsReportedNotConfirmed)
{
    test::Pedal& pedal = Plug();
    StartAndWaitForAnswers();
    form->RzSpinEdit1->setValue(2);
    ASSERT_TRUE(WaitForSends());   // the read-out of two pedals
    pedal.Device()->SetWriteFailure({.nth = 2, .error = EIO});
    const int from = form->HistoryListBox->count();

    form->RzBitBtn1Click();
    ASSERT_TRUE(WaitForBoxes(1));
    // Pedal 1 written, pedal 2 not: its history line holds the report id
    // alone. Both are read back; pedal 2's answer is not held against a write.
    EXPECT_EQ(HistoryLines("W", from),
              (QStringList{"W 02  02 00 01 06 00 00 00 ", "W 02  ", "W 02  01 00 00 00 00 00 00 ",
                           "W 02  01 01 00 00 00 00 00 "}));
    const test::ShownBox& box = OnlyBox();
    EXPECT_EQ(box.icon, QMessageBox::Critical);
    EXPECT_EQ(box.title, "Write in");
    EXPECT_FALSE(box.text.startsWith("Setup Done!"));
    EXPECT_TRUE(box.text.contains("not fully written")) << box.text.toStdString();
    EXPECT_TRUE(box.text.contains("pedal 2")) << box.text.toStdString();
    EXPECT_TRUE(box.text.contains("Input/output error")) << box.text.toStdString();
    EXPECT_FALSE(box.text.contains("Pedal")) << box.text.toStdString();

    // A read-out that fails says nothing.
    sink.shown.clear();
    pedal.Device()->SetWriteFailure({.all = true, .error = EIO});
    const int readFrom = form->HistoryListBox->count();
    form->RzBitBtn2Click();
    ASSERT_TRUE(WaitForSends());
    EXPECT_EQ(HistoryLines("W", readFrom), (QStringList{"W 02  ", "W 02  "}));
    EXPECT_TRUE(sink.shown.empty());
}

// Ctrl+C, Shift+B, Alt+1 on the three pedals.
void SetDistinctSlots(test::Pedal& pedal)
{
    pedal.Firmware().SetSlot(0, {0x01, 0x06, 0x00, 0x00});
    pedal.Firmware().SetSlot(1, {0x02, 0x05, 0x00, 0x00});
    pedal.Firmware().SetSlot(2, {0x04, 0x1E, 0x00, 0x00});
}

// Another HID device arrives while the count's read-out runs: the rescan
// gives the pedal a new device object, and the read-out goes on with it.
TEST_F(ExchangeTest, ReadOutCutByARescanGoesOnAndTheWriteInErasesNothing)
{
    test::Pedal& pedal = Plug();
    SetDistinctSlots(pedal);
    StartAndWaitForAnswers();
    const int from = form->HistoryListBox->count();
    form->RzSpinEdit1->setValue(3);
    ASSERT_TRUE(WaitFor([&] { return HistoryLines("W", from) == QStringList{"W 02  01 00 00 00 00 00 00 "}; }));
    VirtualDeviceDescription keyboard;
    keyboard.vendorId = 0x046D;
    keyboard.productId = 0xC31C;
    keyboard.inputLength = 9;
    bus.Plug(keyboard);
    form->HidCtlDeviceChange(&form->HidCtl);
    ASSERT_TRUE(WaitFor([this] { return form->PedalConfigTable.KeyText(2) == "Alt+1"; }));
    EXPECT_EQ(form->PedalConfigTable.KeyText(1), "Shift+B");
    ASSERT_TRUE(WaitForSends());

    form->RzBitBtn1Click();
    ASSERT_TRUE(WaitForBoxes(1));
    EXPECT_EQ(OnlyBox().text, test::kSetupDone);
    EXPECT_EQ(pedal.Firmware().GetSlot(1), (sim::PedalFirmware::Slot{0x02, 0x05, 0x00, 0x00}));
    EXPECT_EQ(pedal.Firmware().GetSlot(2), (sim::PedalFirmware::Slot{0x04, 0x1E, 0x00, 0x00}));
}

// A pedal never read out is not written as zeros; the box says which.
TEST_F(ExchangeTest, WriteInLeavesOutPedalsNeverReadOut)
{
    test::Pedal& pedal = Plug();
    SetDistinctSlots(pedal);
    StartAndWaitForAnswers();
    // "Write in" at once after a count change: pedals 2 and 3 are not read yet.
    form->RzSpinEdit1->setValue(3);
    form->RzBitBtn1Click();
    ASSERT_TRUE(WaitForBoxes(1));
    EXPECT_EQ(OnlyBox().icon, QMessageBox::Critical);
    EXPECT_EQ(OnlyBox().text,
              "The foot switch was not fully written: pedals 2 and 3 could not be read out, so "
              "they were left as they are. The other pedals were written.\n\nFoot switch SN:VK0001");
    ASSERT_TRUE(WaitForSends());
    EXPECT_EQ(pedal.Firmware().GetSlot(1), (sim::PedalFirmware::Slot{0x02, 0x05, 0x00, 0x00}));
    EXPECT_EQ(pedal.Firmware().GetSlot(2), (sim::PedalFirmware::Slot{0x04, 0x1E, 0x00, 0x00}));

    // A pedal that never answers: nothing is written at all.
    sink.shown.clear();
    pedal.Firmware().SetOptions({.silent = true});
    pedal.Replug();
    ASSERT_TRUE(WaitFor([this] { return form->CurrentDevice != nullptr && form->ReadPending; }));
    const std::size_t writes = pedal.Firmware().WriteCount();
    form->RzBitBtn1Click();
    ASSERT_TRUE(WaitForBoxes(1));
    EXPECT_EQ(OnlyBox().text,
              "The foot switch was not written: pedal 1 could not be read out, so it was left as "
              "it is.\n\nFoot switch SN:VK0001");
    EXPECT_EQ(pedal.Firmware().WriteCount(), writes);
}

// The answer to a read request sent before a write-in arrives after it: the
// row keeps what was written.
TEST_F(ExchangeTest, LateAnswerToARequestBeforeTheWriteLeavesTheRow)
{
    test::Pedal& pedal = Plug();
    pedal.Firmware().SetOptions({.answerDelay = std::chrono::milliseconds(300)});
    StartAndWaitForAnswers();
    ASSERT_EQ(form->RzEdit1->text(), "Ctrl+C");
    CaptureCtrlA();
    ASSERT_EQ(form->RzEdit1->text(), "Ctrl+A");
    const int from = form->HistoryListBox->count();
    form->RzBitBtn2Click();
    form->RzBitBtn1Click();
    ASSERT_TRUE(WaitForBoxes(1));
    EXPECT_EQ(OnlyBox().text, test::kSetupDone);
    // The old assignment, logged only; the check's answer last.
    const QStringList answers = HistoryLines("R", from);
    EXPECT_TRUE(answers.contains("R 02  81 00 01 06 00 00 00 ")) << answers.join('\n').toStdString();
    EXPECT_EQ(answers.last(), "R 02  81 00 01 04 00 00 00 ");
    EXPECT_EQ(form->RzEdit1->text(), "Ctrl+A");
    EXPECT_EQ(form->PedalConfigTable.JoinedCodeText(0), "01-04-00-00");
    EXPECT_EQ(pedal.Firmware().GetSlot(0), (sim::PedalFirmware::Slot{0x01, 0x04, 0x00, 0x00}));

    // Asked again after the write, the pedal's answer counts.
    form->PedalConfigTable.SetKeyText(0, "stale");
    form->RzBitBtn2Click();
    ASSERT_TRUE(WaitFor([this] { return form->PedalConfigTable.KeyText(0) == "Ctrl+A"; }));
}

// Pedal 2 of three is written Ctrl+A and then read back, with the pedal
// misbehaving as the case says: the box names what it holds, or that it did
// not answer, and the table holds what it answered.
struct ReadBackCase {
    const char* name;
    sim::PedalFirmware::Options options;
    bool unplugAfterSending;
    QMessageBox::Icon icon;
    const char* text;
    const char* row1;   // pedal 2's codes and display text afterwards
    const char* shown1;
};

class ReadBackTest : public PedalWindow, public ::testing::WithParamInterface<ReadBackCase> {};

TEST_P(ReadBackTest, BoxSaysWhatThePedalHoldsAndTheTableShowsIt)
{
    const ReadBackCase& c = GetParam();
    test::Pedal& pedal = Plug();
    StartAndWaitForAnswers();
    form->RzSpinEdit1->setValue(3);
    ASSERT_TRUE(WaitFor([this] { return form->PedalConfigTable.KeyText(2) == "Enter"; }));
    ASSERT_TRUE(WaitForSends());
    form->PedalConfigTable.SetRowBytes(1, {0x01, 0x04, 0x00, 0x00});
    form->PedalConfigTable.SetKeyText(1, "Ctrl+A");
    pedal.Firmware().SetOptions(c.options);
    const int from = form->HistoryListBox->count();

    form->RzBitBtn1Click();
    if (c.unplugAfterSending) {
        ASSERT_TRUE(WaitFor([&] { return HistoryLines("W", from).size() == 6; }));
        pedal.Unplug();
    }
    ASSERT_TRUE(WaitForBoxes(1));
    const test::ShownBox& box = sink.shown.back();
    EXPECT_EQ(box.icon, c.icon);
    EXPECT_EQ(box.text.toStdString(), c.text);
    EXPECT_EQ(HistoryLines("W", from),
              (QStringList{"W 02  02 00 01 06 00 00 00 ", "W 02  02 01 01 04 00 00 00 ",
                           "W 02  02 02 00 28 00 00 00 ", "W 02  01 00 00 00 00 00 00 ",
                           "W 02  01 01 00 00 00 00 00 ", "W 02  01 02 00 00 00 00 00 "}));
    EXPECT_EQ(form->PedalConfigTable.JoinedCodeText(1), c.row1);
    EXPECT_EQ(form->PedalConfigTable.KeyText(1), c.shown1);
}

INSTANTIATE_TEST_SUITE_P(
    Pedals, ReadBackTest,
    ::testing::Values(
        ReadBackCase{"DropsTheWrite", {.dropWritesTo = 1}, false, QMessageBox::Critical,
                     "The foot switch was written, but it does not hold what was written:\n"
                     "Pedal 2 holds Ctrl+V (01-19-00-00), not Ctrl+A (01-04-00-00).\n\n"
                     "Foot switch SN:VK0001",
                     "01-19-00-00", "Ctrl+V"},
        ReadBackCase{"StoresAnotherByte", {.alterWritesTo = 1}, false, QMessageBox::Critical,
                     "The foot switch was written, but it does not hold what was written:\n"
                     "Pedal 2 holds Ctrl+B (01-05-00-00), not Ctrl+A (01-04-00-00).\n\n"
                     "Foot switch SN:VK0001",
                     "01-05-00-00", "Ctrl+B"},
        // Answers well after the limit: not confirmed, which is no failure.
        ReadBackCase{"AnswersTooLate", {.answerDelay = std::chrono::milliseconds(5000)},
                     false, QMessageBox::Warning,
                     "The foot switch was written, but the check could not confirm it:\n"
                     "Pedal 1 did not answer the check; its setting is not confirmed.\n"
                     "Pedal 2 did not answer the check; its setting is not confirmed.\n"
                     "Pedal 3 did not answer the check; its setting is not confirmed.\n\n"
                     "Foot switch SN:VK0001",
                     "01-04-00-00", "Ctrl+A"},
        // Unplugged while the answers are awaited: the unplug's failure.
        ReadBackCase{"IsUnpluggedBeforeItAnswers", {.answerDelay = std::chrono::milliseconds(5000)}, true,
                     QMessageBox::Critical,
                     "The foot switch was written, but the check could not confirm it:\n"
                     "Pedal 1 did not answer the check; its setting is not confirmed.\n"
                     "Pedal 2 did not answer the check; its setting is not confirmed.\n"
                     "Pedal 3 did not answer the check; its setting is not confirmed.\n\n"
                     "The system reported: No such device.\n\nFoot switch SN:VK0001",
                     "01-04-00-00", "Ctrl+A"}),
    [](const ::testing::TestParamInfo<ReadBackCase>& info) { return std::string(info.param.name); });

TEST(WriteInOutcomeTest, TextNamesWhatFailedAndWhy)
{
    WriteInOutcome all{.failedPedals = {1, 2, 3}, .unreadPedals = {}, .pedalCount = 3, .error = EIO, .serial = {}};
    EXPECT_EQ(WriteInFailureText(all),
              "The foot switch was not written: the settings of pedals 1, 2 and 3 could not be "
              "sent.\n\nThe system reported: Input/output error.");
    WriteInOutcome some{.failedPedals = {1, 3}, .unreadPedals = {}, .pedalCount = 3, .error = 0, .serial = {}};
    EXPECT_EQ(WriteInFailureText(some),
              "The foot switch was not fully written: the settings of pedals 1 and 3 could not "
              "be sent. The other pedals were written.");
    WriteInOutcome refused{.failedPedals = {1}, .unreadPedals = {}, .pedalCount = 1, .error = EACCES, .serial = {}};
    EXPECT_TRUE(WriteInFailureText(refused).startsWith(
        "The foot switch was not written: the setting of pedal 1 could not be sent."));
    EXPECT_TRUE(WriteInFailureText(refused).endsWith("\n\n" + GrantAccessHint()));
    EXPECT_FALSE(refused.Succeeded());
    WriteInOutcome unread{.failedPedals = {2}, .unreadPedals = {3}, .pedalCount = 3, .error = 0, .serial = {}};
    EXPECT_EQ(WriteInFailureText(unread),
              "The foot switch was not fully written: the setting of pedal 2 could not be sent. "
              "Pedal 3 could not be read out, so it was left as it is. The other pedals were "
              "written.");
    EXPECT_FALSE(unread.Succeeded());
    // What the check found follows, a line per pedal.
    WriteInOutcome checked{.failedPedals = {1}, .unreadPedals = {}, .pedalCount = 3, .error = 0, .serial = {},
                           .differences = {{2, "", "Ctrl+A", {0x00, 0xFF, 0xFF, 0xFF}, {0x01, 0x04, 0x00, 0x00}}},
                           .unconfirmedPedals = {3}};
    EXPECT_EQ(WriteInFailureText(checked),
              "The foot switch was not fully written: the setting of pedal 1 could not be sent. The "
              "other pedals were written.\nPedal 2 holds no key (00-FF-FF-FF), not Ctrl+A (01-04-00-00)."
              "\nPedal 3 did not answer the check; its setting is not confirmed.");
    EXPECT_FALSE(checked.OnlyUnconfirmed());
    WriteInOutcome noDevice;
    noDevice.noDevice = true;
    EXPECT_FALSE(noDevice.Succeeded());
    WriteInOutcome written;
    written.pedalCount = 2;
    EXPECT_TRUE(written.Succeeded());
    EXPECT_EQ(WriteInDoneText(written), "Setup Done!");
    written.serial = "VK7";
    EXPECT_EQ(WriteInDoneText(written), "Setup Done!\n\nFoot switch SN:VK7");
}

}  // namespace
}  // namespace app
