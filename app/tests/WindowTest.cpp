// The key list dialog.
#include <QApplication>
#include <QListWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "app/Formlist.h"
#include "app/MainForm.h"
#include "app/tests/UnloadedBus.h"
#include "keys/KeyNameTable.h"
#include "keys/tests/GermanLetters.h"

namespace app {
namespace {

TEST(WindowTest, KeyListDialogIsModalListsTheKeysByTheirLabelsAndIsGoneAfterwards)
{
    test::UnloadedBus bus;
    TMainForm form(bus);
    form.SetKeyNaming(keys::KeyNaming(keys::testing::GermanLetters()));
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
        ASSERT_EQ(dialog->Flistbox->count(), static_cast<int>(keys::KeyNameTable.size()));
        // Rows in usage order: A..X, then the key at the US Y position.
        EXPECT_EQ(dialog->Flistbox->item(24)->text(), "Z");
        EXPECT_EQ(dialog->Flistbox->item(0)->text(), "A");
        EXPECT_EQ(dialog->Flistbox->item(dialog->Flistbox->count() - 1)->text(), "Right Windows");
        dialog->close();
    });
    form.RzButton1Click();
    EXPECT_TRUE(seen);
    EXPECT_EQ(form.findChild<TFormlist*>(), nullptr);
}

}  // namespace
}  // namespace app
