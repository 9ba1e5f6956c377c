// The key list dialog and the platform choice.
#include <QApplication>
#include <QListWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "app/Formlist.h"
#include "app/MainForm.h"
#include "app/PlatformChoice.h"
#include "app/tests/UnloadedBus.h"

namespace app {
namespace {

TEST(WindowTest, KeyListDialogIsModalEmptyAndGoneAfterwards)
{
    test::UnloadedBus bus;
    TMainForm form(bus);
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
