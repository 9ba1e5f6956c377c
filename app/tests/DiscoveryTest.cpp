// Finding the pedal: the first scan, plugging and unplugging, several
// pedals, and the devices that are not (or only by the fallback) pedals.
#include <QRegularExpression>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include "app/DeviceListItem.h"
#include "app/TabControl.h"
#include "app/tests/PedalWindow.h"
#include "hid/THidDevice.h"

namespace app {
namespace {

using test::PedalWindow;

class DiscoveryTest : public PedalWindow {
protected:
    void ExpectFoundState(const QString& status, const QString& serial)
    {
        EXPECT_EQ(form->VarnokAvailable->text(), status);
        EXPECT_EQ(form->RzLabel8->text(), serial);
        EXPECT_TRUE(form->RzSpinEdit1->isVisible());
        EXPECT_EQ(form->RzSpinEdit1->value(), 1);
        EXPECT_TRUE(form->RzLabel2->isVisible());
        EXPECT_TRUE(form->Image1->isVisible());
        EXPECT_FALSE(form->Image2->isVisible());
        EXPECT_TRUE(form->RzBitBtn1->isEnabled());
        EXPECT_TRUE(form->RzBitBtn2->isEnabled());
        EXPECT_TRUE(form->RzTabControl1->isVisible());
        EXPECT_TRUE(form->RzTabControl1->isTabVisible(0));
        EXPECT_EQ(form->RzTabControl1->tabCaption(0), "Pedal 1");
        EXPECT_FALSE(form->RzTabControl1->isTabVisible(1));
        EXPECT_NE(form->CurrentDevice, nullptr);
    }

    void ExpectNoPedalState()
    {
        EXPECT_EQ(form->VarnokAvailable->text(), "foot switch not found!");
        EXPECT_FALSE(form->RzSpinEdit1->isVisible());
        EXPECT_FALSE(form->RzLabel2->isVisible());
        EXPECT_FALSE(form->Image1->isVisible());
        EXPECT_TRUE(form->Image2->isVisible());
        EXPECT_EQ(form->RzLabel8->text(), "");
        EXPECT_FALSE(form->RzBitBtn1->isEnabled());
        EXPECT_FALSE(form->RzBitBtn2->isEnabled());
        for (int i = 0; i < 8; ++i)
            EXPECT_FALSE(form->RzTabControl1->isTabVisible(i)) << i;
        EXPECT_FALSE(form->RzTabControl1->isVisible());
        EXPECT_EQ(form->RzLabel5->text(), "");
        EXPECT_FALSE(form->Timer1->isActive());
        EXPECT_EQ(form->CBox->count(), 0);
        EXPECT_EQ(form->CBox->currentIndex(), -1);
        EXPECT_EQ(form->CurrentDevice, nullptr);
    }
};

TEST_F(DiscoveryTest, NoScanBeforeTheEventLoopRuns)
{
    Plug();
    form = std::make_unique<TMainForm>(bus);
    form->SetMessageSink(&sink);
    form->SetHookLibraryFolder(test::RecordingHookFolder());
    form->SetHookBlockName(block);
    form->RunFormCreate();   // connects the device-change handler once more
    EXPECT_EQ(bus.ScanCount(), 0u);
    EXPECT_EQ(form->VarnokAvailable->text(), "foot switch is connected!");
    EXPECT_TRUE(form->HistoryListBox->count() == 0);
    ASSERT_TRUE(WaitForScans(1));
    EXPECT_EQ(form->VarnokAvailable->text(), "1 foot switch is connected!");
}

TEST_F(DiscoveryTest, StartWithAPedalReadsItOut)
{
    test::Pedal& pedal = Plug();
    StartAndWaitForAnswers();

    ExpectFoundState("1 foot switch is connected!", "SN:VK0001");
    ASSERT_EQ(form->DevListBox->count(), 1);
    EXPECT_EQ(form->DevListBox->item(0)->text(), "Varnok foot switch (SN:VK0001)");
    EXPECT_EQ(form->CBox->count(), 1);
    EXPECT_EQ(form->CBox->itemText(0), "Varnok foot switch (SN:VK0001)");
    EXPECT_EQ(form->CBox->currentIndex(), 0);
    EXPECT_EQ(form->CurrentDevice, AttachedDevice(*form->DevListBox->item(0)));
    EXPECT_TRUE(form->CurrentDevice->CheckedOut());

    // Read out when the pedal was selected and again when it was found.
    const QStringList sent = HistoryLines("W");
    ASSERT_GE(sent.size(), 2);
    EXPECT_EQ(sent[0], "W 02  01 00 00 00 00 00 00 ");
    EXPECT_EQ(sent[1], "W 02  01 00 00 00 00 00 00 ");
    EXPECT_GE(pedal.Firmware().ReadRequestCount(), 2u);
    ASSERT_TRUE(WaitFor([this] { return form->RzLabel5->text() == "V1.0.0"; }));
    EXPECT_TRUE(HistoryLines("R").contains("R 02  81 00 01 06 00 00 00 "));
    EXPECT_EQ(form->PedalConfigTable.KeyText(0), "Ctrl+C");
    EXPECT_EQ(form->PedalConfigTable.JoinedCodeText(0), "01-06-00-00");
    EXPECT_EQ(form->RzEdit1->text(), "Ctrl+C");
    EXPECT_EQ(form->Edit1->text(), "Ctrl+C");
    EXPECT_EQ(form->Edit2->text(), "01-06-00-00");
    EXPECT_FALSE(form->Timer1->isActive());
    // The history follows its newest line.
    EXPECT_EQ(form->HistoryListBox->currentRow(), form->HistoryListBox->count() - 1);
    Settle();
    EXPECT_TRUE(sink.shown.empty());   // a pedal that opens brings no warning
}

TEST_F(DiscoveryTest, StartWithoutAPedal)
{
    const int offs = HookOffs();
    Start();
    ExpectNoPedalState();
    EXPECT_EQ(HookOffs(), offs + 1);
    EXPECT_EQ(form->HistoryListBox->count(), 0);
    EXPECT_FALSE(form->ReadPending);
}

TEST_F(DiscoveryTest, UnplugAndPlugAgain)
{
    test::Pedal& pedal = Plug();
    StartAndWaitForAnswers();
    ASSERT_EQ(form->RzLabel5->text(), "V1.0.0");
    form->RzSpinEdit1->setValue(3);
    form->RzTabControl1->setCurrentIndex(2);
    ASSERT_TRUE(form->RzEdit1->hasFocus());   // the hook is on
    const int offs = HookOffs();

    pedal.Unplug();
    ASSERT_TRUE(WaitFor([this] { return form->CurrentDevice == nullptr; }));
    ExpectNoPedalState();
    EXPECT_GE(HookOffs(), offs + 1);
    // The device went back to the controller, which dropped it.
    EXPECT_EQ(form->HidCtl.Count(), 0);
    EXPECT_EQ(form->DevListBox->count(), 0);
    ASSERT_TRUE(WaitForSends());   // the writes under way at the unplug end
    const QString historyBefore = History().join('\n');
    Settle();
    EXPECT_EQ(History().join('\n'), historyBefore);   // no read-outs without a pedal

    // Plugged in again after a count of 3: one pedal, laid out and read out.
    const unsigned requests = pedal.Firmware().ReadRequestCount();
    pedal.Replug();
    ASSERT_TRUE(WaitFor([this] { return form->CurrentDevice != nullptr; }));
    ExpectFoundState("1 foot switch is connected!", "SN:VK0001");
    EXPECT_EQ(form->RzTabControl1->currentIndex(), 0);
    ASSERT_TRUE(WaitFor([this] { return form->RzLabel5->text() == "V1.0.0"; }));
    EXPECT_GT(pedal.Firmware().ReadRequestCount(), requests);
    EXPECT_EQ(form->RzEdit1->text(), "Ctrl+C");
}

TEST_F(DiscoveryTest, TwoPedalsAndChoosingTheSecond)
{
    test::Pedal& first = Plug("VK0001");
    test::Pedal& second = Plug("VK0002");
    second.Firmware().SetSlot(0, {0x02, 0x04, 0x00, 0x00});   // Shift+A
    StartAndWaitForAnswers();

    ExpectFoundState("2 foot switch is connected!", "SN:VK0001");
    ASSERT_EQ(form->CBox->count(), 2);
    EXPECT_EQ(form->CBox->itemText(1), "Varnok foot switch (SN:VK0002)");
    EXPECT_EQ(form->CBox->currentIndex(), 0);
    EXPECT_EQ(second.Firmware().ReadRequestCount(), 0u);
    EXPECT_EQ(form->RzEdit1->text(), "Ctrl+C");

    // The user picks the second pedal.
    const unsigned firstRequests = first.Firmware().ReadRequestCount();
    form->CBox->setFocus();
    QTest::keyClick(form->CBox, Qt::Key_Down);
    EXPECT_EQ(form->CBox->currentIndex(), 1);
    EXPECT_EQ(form->DevListBox->currentRow(), 1);
    EXPECT_EQ(form->RzLabel8->text(), "SN:VK0002");
    EXPECT_EQ(form->CurrentDevice, AttachedDevice(*form->DevListBox->item(1)));
    ASSERT_TRUE(WaitFor([this] { return form->RzEdit1->text() == "Shift+A"; }));
    EXPECT_EQ(second.Firmware().ReadRequestCount(), 1u);
    EXPECT_EQ(first.Firmware().ReadRequestCount(), firstRequests);
    EXPECT_EQ(form->VarnokAvailable->text(), "2 foot switch is connected!");

    // A late answer of the first pedal is only logged: the box keeps
    // showing what the second pedal, the one a write-in programs, holds.
    const auto firstAnswers = [this] { return HistoryLines("R").filter("R 02  81 00 01 06").size(); };
    const auto before = firstAnswers();
    first.Device()->InjectInput({0x02, 0x81, 0x00, 0x01, 0x06, 0x00, 0x00, 0x00});
    ASSERT_TRUE(WaitFor([&] { return firstAnswers() == before + 1; }));
    EXPECT_EQ(form->RzEdit1->text(), "Shift+A");
    EXPECT_EQ(form->PedalConfigTable.JoinedCodeText(0), "02-04-00-00");

    // Picking the chosen pedal again is no choice: a capture not yet written
    // stays, nothing is read out.
    ASSERT_TRUE(WaitForSends());
    ASSERT_NO_FATAL_FAILURE(CaptureCtrlA());
    const unsigned requests = second.Firmware().ReadRequestCount();
    emit form->CBox->activated(1);
    Settle();
    EXPECT_EQ(second.Firmware().ReadRequestCount(), requests);
    EXPECT_EQ(form->RzEdit1->text(), "Ctrl+A");
}

// A mouse, then a keyboard, plugged in and unplugged while a captured
// assignment is not yet written in: the same pedals are there, so the
// chosen pedal, the count, the tab and the unsaved keys stay, and nothing is
// read out. Write in then programs what the window shows.
TEST_F(DiscoveryTest, OtherDevicesComingAndGoingKeepTheUsersWork)
{
    Plug("VK0001");
    test::Pedal& second = Plug("VK0002");
    StartAndWaitForAnswers();
    form->CBox->setFocus();
    QTest::keyClick(form->CBox, Qt::Key_Down);   // the second pedal
    form->RzSpinEdit1->setValue(2);
    ASSERT_TRUE(WaitFor([&] { return second.Firmware().ReadRequestCount() >= 3; }));
    Settle();
    form->RzTabControl1->setCurrentIndex(1);
    ASSERT_TRUE(form->RzEdit1->hasFocus());
    // Ctrl+B captured for pedal 2 of the second foot switch.
    const auto key = [this](std::uint32_t scan, bool press) {
        std::uint32_t data = 1u | (scan << 16);
        if (!press)
            data |= 0xC0000000u;
        form->OnHookMessage(0x1400, press ? 256 : 257, data);
    };
    key(0x1D, true);
    key(0x30, true);
    key(0x30, false);
    key(0x1D, false);
    ASSERT_EQ(form->RzEdit1->text(), "Ctrl+B");
    const unsigned requests = second.Firmware().ReadRequestCount();
    const int historyLines = form->HistoryListBox->count();

    auto mouse = test::Pedal::Description("M1", "Mouse");
    mouse.vendorId = 0x046D;
    mouse.productId = 0xC077;
    auto keyboard = test::Pedal::Description("K1", "Keyboard");
    keyboard.vendorId = 0x046D;
    keyboard.productId = 0xC31C;
    for (const auto& description : {mouse, keyboard}) {
        SCOPED_TRACE(description.product.size());
        auto device = bus.Plug(description);
        ASSERT_TRUE(WaitForNextScan());
        bus.Unplug(device);
        ASSERT_TRUE(WaitForNextScan());
        Settle();
        EXPECT_EQ(form->VarnokAvailable->text(), "2 foot switch is connected!");
        EXPECT_EQ(form->CBox->count(), 2);
        EXPECT_EQ(form->CBox->currentIndex(), 1);
        EXPECT_EQ(form->RzLabel8->text(), "SN:VK0002");
        ASSERT_NE(form->CurrentDevice, nullptr);
        EXPECT_EQ(form->CurrentDevice, AttachedDevice(*form->DevListBox->item(1)));
        EXPECT_EQ(form->RzSpinEdit1->value(), 2);
        EXPECT_TRUE(form->RzTabControl1->isTabVisible(1));
        EXPECT_EQ(form->RzTabControl1->currentIndex(), 1);
        EXPECT_EQ(form->RzEdit1->text(), "Ctrl+B");
        EXPECT_TRUE(form->RzEdit1->hasFocus());
        EXPECT_EQ(form->PedalConfigTable.JoinedCodeText(1), "01-05-00-00");
        EXPECT_EQ(second.Firmware().ReadRequestCount(), requests);
        EXPECT_EQ(form->HistoryListBox->count(), historyLines);
    }

    QTest::mouseClick(form->RzBitBtn1, Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return second.Firmware().WriteCount() >= 2; }));
    EXPECT_EQ(second.Firmware().GetSlot(1), (sim::PedalFirmware::Slot{0x01, 0x05, 0x00, 0x00}));
}

TEST_F(DiscoveryTest, EmptyProductStringKeepsTheLeadingBlank)
{
    Plug(test::Pedal::Description("VK0001", ""));
    Start();
    ASSERT_EQ(form->CBox->count(), 1);
    EXPECT_EQ(form->CBox->itemText(0), " (SN:VK0001)");
    EXPECT_EQ(form->RzLabel8->text(), "SN:VK0001");
}

TEST_F(DiscoveryTest, WrongOutputLengthIsFoundOnlyByTheFallback)
{
    auto description = test::Pedal::Description();
    description.outputLength = 9;
    test::Pedal& pedal = Plug(description);
    Start();

    // Not listed, but checked out by its input length: count 0.
    EXPECT_EQ(form->DevListBox->count(), 0);
    EXPECT_EQ(form->CBox->count(), 0);
    ExpectFoundState("0 foot switch is connected!", "SN:VK0001");
    EXPECT_TRUE(form->CurrentDevice->CheckedOut());
    ASSERT_TRUE(WaitFor([this] { return !form->ReadPending; }));
    EXPECT_GE(pedal.Firmware().ReadRequestCount(), 1u);
    EXPECT_EQ(form->RzEdit1->text(), "Ctrl+C");

    // A listed pedal coming and going: the fallback pedal is given back,
    // the listed one taken and given back, the fallback one taken again.
    // Every device the window held went back: unplugged, the controller
    // drops them.
    auto other = bus.Plug(test::Pedal::Description("OTHER", "Keyboard"));
    ASSERT_TRUE(WaitForNextScan());
    EXPECT_EQ(form->VarnokAvailable->text(), "1 foot switch is connected!");
    bus.Unplug(other);
    ASSERT_TRUE(WaitForNextScan());
    EXPECT_EQ(form->VarnokAvailable->text(), "0 foot switch is connected!");
    ASSERT_EQ(form->HidCtl.Count(), 1);
    EXPECT_EQ(form->HidCtl.At(0), form->CurrentDevice);
    pedal.Unplug();
    ASSERT_TRUE(WaitFor([this] { return form->CurrentDevice == nullptr; }));
    EXPECT_EQ(form->HidCtl.Count(), 0);
    EXPECT_EQ(form->VarnokAvailable->text(), "foot switch not found!");
}

TEST_F(DiscoveryTest, NeitherLengthIsNoPedal)
{
    auto description = test::Pedal::Description();
    description.outputLength = 9;
    description.inputLength = 9;
    test::Pedal& pedal = Plug(description);
    Start();
    ExpectNoPedalState();
    EXPECT_EQ(pedal.Firmware().ReadRequestCount(), 0u);
    EXPECT_FALSE(form->HidCtl.At(0)->CheckedOut());
}

TEST_F(DiscoveryTest, OtherDevicesAreNotHeldAndTheirReportsIgnored)
{
    auto keyboard = test::Pedal::Description("KB", "Keyboard");
    keyboard.vendorId = 0x046D;
    auto other = bus.Plug(keyboard);
    Plug();
    StartAndWaitForAnswers();

    ASSERT_EQ(form->HidCtl.Count(), 2);
    EXPECT_FALSE(form->HidCtl.At(0)->CheckedOut());
    EXPECT_TRUE(form->HidCtl.At(1)->CheckedOut());
    EXPECT_EQ(other->OpenHandles(), 0);
    // Every read request so far has had its answer.
    ASSERT_TRUE(WaitFor([this] {
        const QStringList lines = History();
        return lines.filter(QRegularExpression("^R ")).size() == lines.filter(QRegularExpression("^W ")).size();
    }));
    const int lines = form->HistoryListBox->count();
    // An answer-shaped report from the keyboard reaches nobody.
    EXPECT_EQ(other->InjectInput({0x02, 0x81, 0x00, 0x02, 0x04, 0, 0, 0}), 0u);
    Settle();
    EXPECT_EQ(form->HistoryListBox->count(), lines);
    EXPECT_EQ(form->RzEdit1->text(), "Ctrl+C");
}

}  // namespace
}  // namespace app
