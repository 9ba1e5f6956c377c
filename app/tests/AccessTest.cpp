// A pedal whose device node this user may not open for reading and writing:
// found and listed, the user told once per plug-in how to allow access,
// read-outs silent, write-ins reported as failed.
#include <QPushButton>

#include <cerrno>

#include "app/tests/PedalWindow.h"
#include "hid/THidDevice.h"

namespace app {
namespace {

using hid::platform::virt::Access;
using test::PedalWindow;

class AccessTest : public PedalWindow {
protected:
    test::Pedal& PlugRefused()
    {
        auto description = test::Pedal::Description();
        description.access = Access::ReadWriteRefused;
        description.refusedError = EACCES;
        return Plug(description);
    }
    int AdviceBoxes() const
    {
        int count = 0;
        for (const test::ShownBox& box : sink.shown)
            count += box.title == "Varnok setup program" ? 1 : 0;
        return count;
    }
};

TEST_F(AccessTest, AdviceOncePerPlugIn)
{
    test::Pedal& pedal = PlugRefused();
    Start();
    EXPECT_EQ(form->VarnokAvailable->text(), "1 foot switch is connected!");
    ASSERT_NE(form->CurrentDevice, nullptr);
    EXPECT_FALSE(form->CurrentDevice->ReadWriteAccess());
    ASSERT_TRUE(WaitFor([this] { return AdviceBoxes() == 1; }));
    const test::ShownBox& box = sink.shown.back();
    EXPECT_EQ(box.icon, QMessageBox::Warning);
    EXPECT_EQ(box.owner, form.get());
    EXPECT_TRUE(box.text.contains("sudo scripts/install-udev-rule")) << box.text.toStdString();
    EXPECT_TRUE(box.text.contains("unplug")) << box.text.toStdString();

    // Read-outs fail quietly: report id alone in the history, no answer.
    EXPECT_EQ(HistoryLines("W").value(0), "W 02  ");
    EXPECT_EQ(pedal.Firmware().ReadRequestCount(), 0u);
    EXPECT_TRUE(form->ReadPending);

    // Another device change with the pedal still there: no second box.
    auto other = bus.Plug(test::Pedal::Description("OTHER", "Keyboard"));
    ASSERT_TRUE(WaitForNextScan());
    bus.Unplug(other);
    ASSERT_TRUE(WaitForNextScan());
    Settle();
    EXPECT_EQ(AdviceBoxes(), 1);

    // Unplugged and plugged in again: told again.
    pedal.Unplug();
    ASSERT_TRUE(WaitForNextScan());
    pedal.Replug();
    ASSERT_TRUE(WaitFor([this] { return AdviceBoxes() == 2; }));
}

TEST_F(AccessTest, WriteInSaysHowToAllowAccess)
{
    test::Pedal& pedal = PlugRefused();
    Start();
    ASSERT_TRUE(WaitFor([this] { return AdviceBoxes() == 1; }));
    sink.shown.clear();

    QTest::mouseClick(form->RzBitBtn1, Qt::LeftButton);
    ASSERT_TRUE(WaitForBoxes(1));
    ASSERT_EQ(sink.shown.size(), 1u);
    const test::ShownBox& box = sink.shown.front();
    EXPECT_EQ(box.icon, QMessageBox::Critical);
    EXPECT_EQ(box.title, "Write in");
    EXPECT_NE(box.text, "Setup Done!");
    EXPECT_TRUE(box.text.contains("not written")) << box.text.toStdString();
    EXPECT_TRUE(box.text.contains(
        "run scripts/install-udev-rule (or install the package), then unplug and replug the pedal"))
        << box.text.toStdString();
    EXPECT_EQ(pedal.Device()->WriteCount(), 0u);
}

}  // namespace
}  // namespace app
