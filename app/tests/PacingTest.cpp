// Paced sends: reports go out 50 ms apart while the event loop keeps
// serving, a write-in's outcome comes after the answers to its check, nothing
// interleaves with a write-in nor changes what it writes, and nothing queued
// reaches a device that was given back.
#include <QAbstractItemModel>
#include <QComboBox>
#include <QPushButton>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QTimer>

#include <chrono>

#include "app/tests/PedalWindow.h"
#include "hookmod/HookMessages.h"

namespace app {
namespace {

using test::PedalWindow;
using Clock = std::chrono::steady_clock;
using Bytes = std::vector<std::uint8_t>;

// Every history line as it is added, with the ticks of a 1 ms timer so far:
// ticks that grow from one line to the next show the loop served in between.
class LoopWatch {
public:
    explicit LoopWatch(TMainForm& form)
    {
        ticker_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&ticker_, &QTimer::timeout, [this] { ++ticks; });
        ticker_.start(1);
        QListWidget* history = form.HistoryListBox;
        QObject::connect(history->model(), &QAbstractItemModel::rowsInserted, &ticker_,
                         [this, history](const QModelIndex&, int, int last) {
                             lines.push_back({history->item(last)->text(), ticks, Clock::now()});
                         });
    }

    struct Line {
        QString text;
        int ticks;
        Clock::time_point at;
    };
    // The sent-report lines, in order.
    std::vector<Line> Sent() const
    {
        std::vector<Line> sent;
        for (const Line& line : lines)
            if (line.text.startsWith("W"))
                sent.push_back(line);
        return sent;
    }
    QStringList SentTexts() const
    {
        QStringList texts;
        for (const Line& line : Sent())
            texts << line.text;
        return texts;
    }

    std::vector<Line> lines;
    int ticks = 0;

private:
    QTimer ticker_;
};

class PacingTest : public PedalWindow {
protected:
    // A pedal answering for three pedals, the window settled on a count of 3.
    test::Pedal& StartWithThreePedals()
    {
        test::Pedal& pedal = Plug();
        StartAndWaitForAnswers();
        form->RzSpinEdit1->setValue(3);
        EXPECT_TRUE(WaitFor([this] { return form->PedalConfigTable.KeyText(2) == "Enter"; }));
        EXPECT_TRUE(WaitForSends());
        return pedal;
    }
};

TEST_F(PacingTest, ReadOutAndWriteInOfThreePedalsGoPacedWhileTheLoopServes)
{
    Plug();
    StartAndWaitForAnswers();
    LoopWatch watch(*form);
    int ticksAtBox = -1;
    std::size_t sentAtBox = 0;
    sink.onShow = [&] {
        ticksAtBox = watch.ticks;
        sentAtBox = watch.Sent().size();
    };

    form->RzSpinEdit1->setValue(3);
    ASSERT_TRUE(WaitForSends());
    form->RzBitBtn1Click();
    ASSERT_TRUE(WaitForBoxes(1));

    EXPECT_EQ(watch.SentTexts(),
              (QStringList{"W 02  01 00 00 00 00 00 00 ", "W 02  01 01 00 00 00 00 00 ",
                           "W 02  01 02 00 00 00 00 00 ", "W 02  02 00 01 06 00 00 00 ",
                           "W 02  02 01 01 19 00 00 00 ", "W 02  02 02 00 28 00 00 00 ",
                           "W 02  01 00 00 00 00 00 00 ", "W 02  01 01 00 00 00 00 00 ",
                           "W 02  01 02 00 00 00 00 00 "}));
    const std::vector<LoopWatch::Line> sent = watch.Sent();
    for (std::size_t i = 1; i < sent.size(); ++i) {
        EXPECT_GT(sent[i].ticks, sent[i - 1].ticks) << "the loop stood still before report " << i;
        // The pause runs from after a report's history line to the next write.
        EXPECT_GE(sent[i].at - sent[i - 1].at, TMainForm::kReportPause) << "report " << i;
    }
    // The outcome after the last report and the pause behind it.
    EXPECT_EQ(sink.shown.back().text, test::kSetupDone);
    EXPECT_EQ(sentAtBox, 9u);
    EXPECT_GT(ticksAtBox, sent.back().ticks);
}

TEST_F(PacingTest, DuringAWriteInTheWindowKeepsWhatItWritesAndNothingInterleaves)
{
    test::Pedal& pedal = StartWithThreePedals();
    CaptureCtrlA();
    ASSERT_EQ(form->RzEdit1->text(), "Ctrl+A");
    const std::size_t before = pedal.Device()->WriteCount();
    const std::size_t firstBox = sink.shown.size();
    const auto oldAnswers = History().filter("R 02  81 00 01 06").size();

    form->RzBitBtn1Click();
    ASSERT_TRUE(form->WriteInInFlight());
    // Meanwhile: an answer with the pedal's old assignment, a new capture,
    // and "Read out" twice.
    const std::uint8_t oldAnswer[] = {0x81, 0x00, 0x01, 0x06, 0x00, 0x00, 0x00};
    form->HidCtlDeviceData(form->CurrentDevice, 0x02, oldAnswer, sizeof oldAnswer);
    Key(0x2A, true);   // Shift
    Key(0x2A, false);
    form->RzBitBtn2Click();
    form->RzBitBtn2Click();
    EXPECT_EQ(form->RzEdit1->text(), "Ctrl+A");
    EXPECT_EQ(form->PedalConfigTable.KeyText(0), "Ctrl+A");
    EXPECT_EQ(form->PedalConfigTable.JoinedCodeText(0), "01-04-00-00");
    EXPECT_EQ(History().filter("R 02  81 00 01 06").size(), oldAnswers + 1);   // logged all the same

    ASSERT_TRUE(WaitForBoxes(firstBox + 1));
    EXPECT_EQ(sink.shown.back().text, test::kSetupDone);
    ASSERT_TRUE(WaitForSends());

    // On the wire: the three write reports and the read requests that check
    // them, then one read-out of three; the second read-out asked for was
    // the same and still waiting: dropped.
    const auto writes = pedal.Device()->Writes();
    ASSERT_EQ(writes.size(), before + 9);
    EXPECT_EQ(writes[before + 0], (Bytes{0x02, 0x02, 0x00, 0x01, 0x04, 0x00, 0x00, 0x00}));
    EXPECT_EQ(writes[before + 1], (Bytes{0x02, 0x02, 0x01, 0x01, 0x19, 0x00, 0x00, 0x00}));
    EXPECT_EQ(writes[before + 2], (Bytes{0x02, 0x02, 0x02, 0x00, 0x28, 0x00, 0x00, 0x00}));
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_EQ(writes[before + 3 + i], (Bytes{0x02, 0x01, static_cast<std::uint8_t>(i % 3), 0, 0, 0, 0, 0})) << i;
    EXPECT_EQ(pedal.Firmware().GetSlot(0), (sim::PedalFirmware::Slot{0x01, 0x04, 0x00, 0x00}));
    ASSERT_TRUE(WaitFor([&] { return HistoryLines("R").filter("R 02  81 00 01 04").size() == 2; }));
    EXPECT_EQ(form->RzEdit1->text(), "Ctrl+A");
}

TEST_F(PacingTest, NothingQueuedReachesADeviceThatWasGivenBack)
{
    test::Pedal& pedal = StartWithThreePedals();
    const int from = form->HistoryListBox->count();

    // A read-out of three: its first request goes (the pedal holds it
    // back), then a device change gives the devices back before the other
    // two could go. The same pedal is found again: the rest goes to its new
    // device object.
    pedal.Device()->SetWriteFailure({1, false, EIO, true});
    form->RzBitBtn2Click();
    ASSERT_TRUE(WaitFor([&] { return pedal.Device()->WritesHeld() == 1; }));
    form->HidCtlDeviceChange(&form->HidCtl);
    ASSERT_TRUE(WaitFor([&] { return HistoryLines("W", from).size() == 3; }));
    ASSERT_TRUE(WaitForSends());
    // The held request goes with the old object, unsent; its row was read
    // out before, so the new object is asked for the two cut rows.
    EXPECT_EQ(HistoryLines("W", from),
              (QStringList{"W 02  ", "W 02  01 01 00 00 00 00 00 ", "W 02  01 02 00 00 00 00 00 "}));

    // A device change during a write-in waits for its end: not cut short.
    form->RzSpinEdit1->setValue(2);
    ASSERT_TRUE(WaitForSends());
    const std::size_t before = pedal.Device()->WriteCount();
    const std::size_t firstBox = sink.shown.size();
    form->RzBitBtn1Click();
    form->HidCtlDeviceChange(&form->HidCtl);
    ASSERT_TRUE(WaitForBoxes(firstBox + 1));
    EXPECT_EQ(sink.shown.back().text, test::kSetupDone);
    const auto writes = pedal.Device()->Writes();
    ASSERT_GE(writes.size(), before + 2);
    EXPECT_EQ(writes[before], (Bytes{0x02, 0x02, 0x00, 0x01, 0x06, 0x00, 0x00, 0x00}));
    EXPECT_EQ(writes[before + 1], (Bytes{0x02, 0x02, 0x01, 0x01, 0x19, 0x00, 0x00, 0x00}));
    ASSERT_TRUE(WaitForSends());

}

// While a write-in is in flight the pedal choice, the count and the buttons
// wait; the box names the pedal written, not the one shown by then.
TEST_F(PacingTest, ChoicesWaitForTheWriteInAndTheBoxNamesThePedalWritten)
{
    Plug("VK0001");
    Plug("VK0002");
    StartAndWaitForAnswers();
    const std::vector<QWidget*> held{form->CBox, form->RzSpinEdit1, form->RzBitBtn1, form->RzBitBtn2};
    form->RzBitBtn1Click();
    for (QWidget* control : held)
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
    ASSERT_TRUE(WaitForBoxes(1));
    EXPECT_EQ(sink.shown.back().text, test::kSetupDone);
    for (QWidget* control : held)
        EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();
}

// Closed as the first write report reaches the pedal: the window stays until
// the write-in has ended, then closes with no box; the program may end then.
TEST_F(PacingTest, CloseDuringAWriteInWaitsForItsEnd)
{
    test::Pedal& pedal = StartWithThreePedals();
    CaptureCtrlA();
    const std::size_t before = pedal.Device()->WriteCount();
    const std::size_t boxes = sink.shown.size();
    form->RzBitBtn1Click();
    ASSERT_TRUE(WaitFor([&] { return pedal.Device()->WriteCount() == before + 1; }));
    form->close();
    EXPECT_TRUE(form->isVisible());
    ASSERT_TRUE(WaitFor([this] { return !form->isVisible(); }));
    form.reset();
    EXPECT_EQ(pedal.Device()->WriteCount(), before + 6);   // the check's read requests too
    EXPECT_EQ(pedal.Firmware().GetSlot(0), (sim::PedalFirmware::Slot{0x01, 0x04, 0x00, 0x00}));
    EXPECT_EQ(pedal.Firmware().GetSlot(2), sim::PedalFirmware::DefaultSlot(2));
    EXPECT_EQ(sink.shown.size(), boxes);
}

TEST_F(PacingTest, PedalUnpluggedDuringAWriteInIsReportedNotConfirmed)
{
    test::Pedal& pedal = StartWithThreePedals();
    const std::size_t accepted = pedal.Device()->WriteCount();
    const unsigned requests = pedal.Firmware().ReadRequestCount();
    const std::size_t firstBox = sink.shown.size();

    // Pedal 1's report is taken, pedal 2's held back when the pedal goes.
    pedal.Device()->SetWriteFailure({2, false, EIO, true});
    form->RzBitBtn1Click();
    form->RzBitBtn2Click();   // a read-out waits behind the write-in
    ASSERT_TRUE(WaitFor([&] { return pedal.Device()->WritesHeld() == 1; }));
    pedal.Unplug();

    ASSERT_TRUE(WaitForBoxes(firstBox + 1));
    const test::ShownBox& box = sink.shown.back();
    EXPECT_EQ(box.icon, QMessageBox::Critical);
    EXPECT_FALSE(box.text.startsWith("Setup Done!"));
    EXPECT_TRUE(box.text.contains("pedals 2 and 3")) << box.text.toStdString();
    EXPECT_TRUE(box.text.contains("Pedal 1 did not answer the check")) << box.text.toStdString();
    EXPECT_TRUE(box.text.contains("No such device")) << box.text.toStdString();
    ASSERT_TRUE(WaitFor([this] { return form->CurrentDevice == nullptr; }));
    ASSERT_TRUE(WaitForSends());
    EXPECT_EQ(pedal.Device()->WriteCount(), accepted + 1);
    EXPECT_EQ(pedal.Firmware().ReadRequestCount(), requests);
    const int lines = form->HistoryListBox->count();
    Settle();
    EXPECT_EQ(form->HistoryListBox->count(), lines);   // nothing more is sent
    EXPECT_EQ(sink.shown.size(), firstBox + 1);
}

TEST_F(PacingTest, APedalThatNeverTakesAWriteFailsTheWriteInWhileTheWindowServes)
{
    test::Pedal& pedal = StartWithThreePedals();
    pedal.Device()->SetWriteFailure({0, true, EIO, true});
    const std::size_t firstBox = sink.shown.size();

    form->RzBitBtn1Click();
    // The window's loop runs while the pedal holds a report back.
    ASSERT_TRUE(WaitFor([&] { return pedal.Device()->WritesHeld() == 1; }));
    CaptureCtrlA();   // served, though not taken during the write-in

    ASSERT_TRUE(WaitForBoxes(firstBox + 1));
    const test::ShownBox& box = sink.shown.back();
    EXPECT_EQ(box.icon, QMessageBox::Critical);
    EXPECT_TRUE(box.text.startsWith("The foot switch was not written: the settings of pedals 1, 2 and 3"))
        << box.text.toStdString();
    EXPECT_TRUE(box.text.contains("did not take the settings in time")) << box.text.toStdString();
    ASSERT_TRUE(WaitForSends());

    // The pedal takes reports again: the next write-in goes through.
    pedal.Device()->SetWriteFailure({});
    form->RzBitBtn1Click();
    ASSERT_TRUE(WaitForBoxes(firstBox + 2));
    EXPECT_EQ(sink.shown.back().text, test::kSetupDone);
}

}  // namespace
}  // namespace app
