// A pedal whose device node this user may not open for reading and writing:
// found and listed but shown as not usable, with the reason; never polled;
// the user told once per plug-in how to allow access (or, for another
// error, what it was), after the window is shown; write-ins reported as
// failed. And a machine where discovery cannot run at all.
#include <QPushButton>
#include <QTimer>

#include <cerrno>
#include <cstring>

#include "app/AccessAdvice.h"
#include "app/DiscoveryAdvice.h"
#include "app/tests/PedalWindow.h"
#include "app/tests/UnloadedBus.h"
#include "hid/THidDevice.h"

namespace app {
namespace {

using hid::platform::virt::Access;
using test::PedalWindow;

class AccessTest : public PedalWindow {
protected:
    test::Pedal& PlugRefused(int error = EACCES)
    {
        auto description = test::Pedal::Description();
        description.access = Access::ReadWriteRefused;
        description.refusedError = error;
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
    EXPECT_EQ(form->VarnokAvailable->text(), "1 foot switch found,\nnot usable: no access");
    EXPECT_EQ(form->VarnokAvailable->toolTip(), AccessAdviceText());
    EXPECT_TRUE(form->RzBitBtn1->isEnabled());   // a write-in tries again, and says why it fails
    ASSERT_NE(form->CurrentDevice, nullptr);
    EXPECT_FALSE(form->CurrentDevice->ReadWriteAccess());
    ASSERT_TRUE(WaitFor([this] { return AdviceBoxes() == 1; }));
    const test::ShownBox& box = sink.shown.back();
    EXPECT_EQ(box.icon, QMessageBox::Warning);
    EXPECT_EQ(box.owner, form.get());
    EXPECT_EQ(box.text, AccessAdviceText());

    // Not polled: no read-out is even tried, now or later.
    EXPECT_FALSE(form->ReadPending);
    EXPECT_FALSE(form->Timer1->isActive());
    QTest::qWait(1200);
    EXPECT_TRUE(HistoryLines("W").isEmpty()) << History().join('\n').toStdString();
    EXPECT_EQ(pedal.Firmware().ReadRequestCount(), 0u);

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

// Another reason than a refused permission gives its own text, not the
// advice on access rights.
TEST_F(AccessTest, OtherOpenErrorsGiveTheirOwnText)
{
    PlugRefused(EBUSY);
    Start();
    EXPECT_EQ(form->VarnokAvailable->text(),
              "1 foot switch found,\nnot usable: " + QString::fromLocal8Bit(std::strerror(EBUSY)));
    ASSERT_TRUE(WaitFor([this] { return AdviceBoxes() == 1; }));
    const QString text = sink.shown.back().text;
    EXPECT_TRUE(text.contains(QString::fromLocal8Bit(std::strerror(EBUSY)))) << text.toStdString();
    EXPECT_NE(text, AccessAdviceText());
    EXPECT_FALSE(form->ReadPending);
}

// The first scan runs as soon as the event loop does, even before the
// window is shown (behind a start-up error box): its warning waits for the
// window.
TEST_F(AccessTest, FirstScanWarnsOnlyOnceTheWindowIsShown)
{
    PlugRefused();
    form = std::make_unique<TMainForm>(bus);
    form->SetMessageSink(&sink);
    form->SetHookLibraryFolder(test::RecordingHookFolder());
    form->SetHookBlockName(block);
    form->RunFormCreate();
    ASSERT_TRUE(WaitForScans(1));
    Settle();
    EXPECT_EQ(AdviceBoxes(), 0);
    form->show();
    ASSERT_TRUE(WaitFor([this] { return AdviceBoxes() == 1; }));
    EXPECT_TRUE(sink.shown.back().owner->isVisible());
}

// Without the platform's device library nothing can be found: the no-pedal
// state, and one message that names the library (and where it comes from).
TEST_F(AccessTest, NoDeviceLibraryShowsNoPedalAndSaysWhatToInstall)
{
    test::UnloadedBus unloaded;
    TMainForm window(unloaded);
    window.SetMessageSink(&sink);
    window.SetHookLibraryFolder(test::RecordingHookFolder());
    window.SetHookBlockName(block);
    window.RunFormCreate();
    window.show();
    ASSERT_TRUE(WaitFor([this] { return AdviceBoxes() == 1; }));
    EXPECT_EQ(window.VarnokAvailable->text(), "foot switch not found!");
    EXPECT_FALSE(window.RzBitBtn1->isEnabled());
    EXPECT_FALSE(window.RzBitBtn2->isEnabled());
    EXPECT_FALSE(window.RzTabControl1->isVisible());
    const QString text = sink.shown.back().text;
    EXPECT_EQ(text, DiscoveryUnavailableText());
    Settle();
    EXPECT_EQ(AdviceBoxes(), 1);
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
    EXPECT_FALSE(box.text.startsWith("Setup Done!"));
    EXPECT_TRUE(box.text.contains("not written")) << box.text.toStdString();
    EXPECT_TRUE(box.text.contains(GrantAccessHint())) << box.text.toStdString();
    EXPECT_EQ(pedal.Device()->WriteCount(), 0u);
}

}  // namespace
}  // namespace app
