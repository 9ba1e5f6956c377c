// The window's own handlers: the timer, the read-out's device refresh and the
// key list dialog; and the platform choice.
#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "app/DeviceListItem.h"
#include "app/Formlist.h"
#include "app/MainForm.h"
#include "app/PlatformChoice.h"

namespace hid {
class THidDevice {};   // only its address is used here
}  // namespace hid

namespace app {
namespace {

TEST(WindowTest, ReadOutMakesTheSelectedEntryTheCurrentDevice)
{
    TMainForm form;
    hid::THidDevice first;
    hid::THidDevice second;
    form.RzBitBtn2Click();   // empty list: stays as it was
    EXPECT_EQ(form.CurrentDevice, nullptr);

    for (hid::THidDevice* device : {&first, &second}) {
        auto* item = new QListWidgetItem(QStringLiteral("pedal"), form.DevListBox);
        AttachDevice(*item, device);
    }
    form.RzBitBtn2Click();   // nothing selected: stays
    EXPECT_EQ(form.CurrentDevice, nullptr);
    form.DevListBox->setCurrentRow(1);
    form.RzBitBtn2Click();
    EXPECT_EQ(form.CurrentDevice, &second);
    form.DevListBox->setCurrentRow(0);
    form.RzBitBtn2->click();
    EXPECT_EQ(form.CurrentDevice, &first);
}

TEST(WindowTest, TimerRepeatsTheReadOutOnlyWhileAnAnswerIsPending)
{
    TMainForm form;
    hid::THidDevice pedal;
    auto* item = new QListWidgetItem(QStringLiteral("pedal"), form.DevListBox);
    AttachDevice(*item, &pedal);
    form.DevListBox->setCurrentRow(0);

    QTest::qWait(650);   // a tick or more while nothing is pending
    EXPECT_EQ(form.CurrentDevice, nullptr);

    form.ReadPending = true;
    EXPECT_TRUE(QTest::qWaitFor([&form, &pedal] { return form.CurrentDevice == &pedal; }, 1500));
}

TEST(WindowTest, KeyListDialogIsModalEmptyAndGoneAfterwards)
{
    TMainForm form;
    form.show();
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<TFormlist*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seen = true;
        EXPECT_EQ(dialog->parentWidget(), &form);
        EXPECT_EQ(dialog->objectName(), "Formlist");
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("脚踏按键列表"));
        EXPECT_EQ(dialog->size(), QSize(285, 259));
        EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
        EXPECT_EQ(dialog->pos(), QPoint(705, 184));
        EXPECT_EQ(dialog->Flistbox->geometry(), QRect(24, 32, 217, 145));
        EXPECT_EQ(dialog->Flistbox->count(), 0);
        dialog->close();
    });
    form.RzButton1Click();
    EXPECT_TRUE(seen);
    EXPECT_EQ(form.findChild<TFormlist*>(), nullptr);
}

TEST(PlatformChoiceTest, XcbOnlyWithAnXDisplayAndNoExplicitChoice)
{
    EXPECT_TRUE(ShouldForceXcb(":0", nullptr));
    EXPECT_TRUE(ShouldForceXcb(":1", ""));
    EXPECT_FALSE(ShouldForceXcb(":0", "offscreen"));
    EXPECT_FALSE(ShouldForceXcb(":0", "wayland"));
    EXPECT_FALSE(ShouldForceXcb(nullptr, nullptr));
    EXPECT_FALSE(ShouldForceXcb("", nullptr));
}

}  // namespace
}  // namespace app
