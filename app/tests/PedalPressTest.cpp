// The live pedal test on Linux: the pedal's keyboard collection, listed as a
// device of its own with the pedal's ids, is read like its configuration
// collection; its key reports tell which pedal was pressed.
#include <QLabel>
#include <QSpinBox>

#include <chrono>
#include <vector>

#include "app/TabControl.h"
#include "app/tests/PedalWindow.h"

namespace app::test {
namespace {

using namespace std::chrono_literals;

constexpr std::uint8_t kCtrl = 0x01, kV = 0x19, kEnter = 0x28;
constexpr std::uint32_t kCtrlScan = 0x1D, kVScan = 0x2F;

class PedalPressTest : public PedalWindow {
protected:
    // The keyboard collection beside the pedal's: its ids and serial, the
    // keyboard usage, report id 1.
    std::shared_ptr<hid::platform::virt::VirtualDevice> PlugKeyboard(const std::string& serial = "VK0001")
    {
        VirtualDeviceDescription keyboard = Pedal::Description(serial);
        keyboard.usagePage = 0x01;
        keyboard.usage = 0x06;
        keyboard.inputLength = 9;
        keyboard.outputLength = 2;
        keyboards.push_back(bus.Plug(keyboard));
        return keyboards.back();
    }
    void StartWithCount(int count)
    {
        ASSERT_NO_FATAL_FAILURE(StartAndWaitForAnswers());
        form->RzSpinEdit1->setValue(count);
        ASSERT_TRUE(WaitFor([this] { return !form->ExchangesPending(); }));
    }
    // The pedal's key report: everything held at once, then nothing.
    static void Type(hid::platform::virt::VirtualDevice& keyboard, std::uint8_t modifiers, std::uint8_t key)
    {
        EXPECT_EQ(keyboard.InjectInput({0x01, modifiers, 0x00, key, 0, 0, 0, 0, 0}), 1u);
        keyboard.InjectInput({0x01, 0, 0, 0, 0, 0, 0, 0, 0});
    }
    testing::AssertionResult WaitForSign(const QString& text)
    {
        if (WaitFor([&] { return form->PedalPressedSign->isVisible() && form->PedalPressedSign->text() == text; }))
            return testing::AssertionSuccess();
        return testing::AssertionFailure() << "the sign says \"" << form->PedalPressedSign->text().toStdString()
                                           << "\", shown " << form->PedalPressedSign->isVisible() << "; capture off: "
                                           << form->CaptureOffSign->isVisible();
    }
    void TearDown() override
    {
        form.reset();
        for (const auto& keyboard : keyboards)
            bus.Unplug(keyboard);
        PedalWindow::TearDown();
    }

    std::vector<std::shared_ptr<hid::platform::virt::VirtualDevice>> keyboards;
};

TEST_F(PedalPressTest, APressNamesThePedalSelectsItsTabAndNeverReplacesACapture)
{
    Plug();
    auto keyboard = PlugKeyboard();
    ASSERT_NO_FATAL_FAILURE(StartWithCount(3));
    Type(*keyboard, kCtrl, kV);   // pedal 2's factory keys
    ASSERT_TRUE(WaitForSign(QStringLiteral("Pedal 2: Ctrl+V")));
    EXPECT_EQ(form->RzTabControl1->currentIndex(), 1);
    EXPECT_EQ(form->RzLabel3->text(), QStringLiteral("2 pairs of buttons to set"));

    // Ctrl+A captured for pedal 2, then the pedal tried: its keystrokes reach
    // the capture as well, and the box keeps Ctrl+A.
    QTest::qWait(static_cast<int>(2 * TMainForm::kPedalKeyPairing.count()));
    ASSERT_NO_FATAL_FAILURE(CaptureCtrlA());
    ASSERT_EQ(form->RzEdit1->text(), QStringLiteral("Ctrl+A"));
    form->PedalPressedSign->hide();
    keyboard->InjectInput({0x01, kCtrl, 0x00, kV, 0, 0, 0, 0, 0});
    Key(kCtrlScan, true);
    Key(kVScan, true);
    Settle();
    keyboard->InjectInput({0x01, 0, 0, 0, 0, 0, 0, 0, 0});
    Key(kVScan, false);
    Key(kCtrlScan, false);
    ASSERT_TRUE(WaitForSign(QStringLiteral("Pedal 2: Ctrl+V")));
    EXPECT_EQ(form->RzEdit1->text(), QStringLiteral("Ctrl+A"));
    EXPECT_EQ(form->PedalConfigTable.JoinedCodeText(1), "01-04-00-00");

    // The same keys from the keyboard, later, are the user's.
    QTest::qWait(static_cast<int>(2 * TMainForm::kPedalKeyPairing.count()));
    Key(kCtrlScan, true);
    Key(kVScan, true);
    Key(kVScan, false);
    Key(kCtrlScan, false);
    EXPECT_EQ(form->RzEdit1->text(), QStringLiteral("Ctrl+V"));
}

TEST_F(PedalPressTest, APressThatCannotBeToldIsSaidSoAndOtherPedalsKeysDoNotCount)
{
    Pedal& pedal = Plug();
    pedal.Firmware().SetSlot(2, {kCtrl, kV, 0x00, 0x00});   // pedals 2 and 3 alike
    auto keyboard = PlugKeyboard();
    auto otherKeyboard = PlugKeyboard("VK0002");
    ASSERT_NO_FATAL_FAILURE(StartWithCount(1));
    // Only pedal 1 is read out: pedal 3's Enter... not known yet.
    Type(*keyboard, 0x00, kEnter);
    ASSERT_TRUE(WaitForSign(QStringLiteral("A pedal typed Enter: read out to tell which one")));

    form->RzSpinEdit1->setValue(3);
    ASSERT_TRUE(WaitFor([this] { return !form->ExchangesPending(); }));
    const int tab = form->RzTabControl1->currentIndex();
    Type(*keyboard, kCtrl, kV);
    ASSERT_TRUE(WaitForSign(QStringLiteral("Pedals 2 and 3 type the same, Ctrl+V: which one cannot be told")));
    EXPECT_EQ(form->RzTabControl1->currentIndex(), tab);
    Type(*keyboard, 0x00, kEnter);
    ASSERT_TRUE(WaitForSign(QStringLiteral("A pedal typed Enter, which no pedal read out holds")));

    // Another pedal's keyboard: not the pedal whose rows are shown.
    Type(*otherKeyboard, kCtrl, 0x06);
    Settle();
    EXPECT_EQ(form->PedalPressedSign->text(), QStringLiteral("A pedal typed Enter, which no pedal read out holds"));
}

}  // namespace
}  // namespace app::test
