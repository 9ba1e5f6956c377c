// The key list dialog.
#include <QApplication>
#include <QListWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "app/Formlist.h"
#include "app/MainForm.h"
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
        EXPECT_TRUE(dialog->windowFlags().testFlag(Qt::MSWindowsFixedSizeDialogHint));
        EXPECT_EQ(dialog->pos(), QPoint(705, 184));
        EXPECT_EQ(dialog->Flistbox->geometry(), QRect(24, 32, 217, 145));
        EXPECT_EQ(dialog->Flistbox->count(), 0);
        dialog->close();
    });
    form.RzButton1Click();
    EXPECT_TRUE(seen);
    EXPECT_EQ(form.findChild<TFormlist*>(), nullptr);
}

}  // namespace
}  // namespace app
