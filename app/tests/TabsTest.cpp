// The pedal count and the key tabs with a pedal that answers.
#include <QLineEdit>
#include <QSpinBox>

#include "app/TabBar.h"
#include "app/TabControl.h"
#include "app/tests/PedalWindow.h"

namespace app {
namespace {

using test::PedalWindow;

class TabsTest : public PedalWindow {
protected:
    void ClickTab(int index)
    {
        TTabBar* bar = form->RzTabControl1->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(index).center());
    }
    bool AllAnswered()
    {
        return WaitFor([this] {
            return form->PedalConfigTable.KeyText(1) == "Ctrl+V" &&
                   form->PedalConfigTable.KeyText(2) == "Enter";
        });
    }
};

TEST_F(TabsTest, CountOneToThreeLaysOutThreeTabsAndReadsThreePedals)
{
    Plug();
    StartAndWaitForAnswers();
    const int from = form->HistoryListBox->count();

    form->RzSpinEdit1->setValue(3);
    ASSERT_TRUE(WaitForSends());
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(form->RzTabControl1->isTabVisible(i)) << i;
        EXPECT_EQ(form->RzTabControl1->tabCaption(i), QStringLiteral("Pedal %1").arg(i + 1));
    }
    for (int i = 3; i < 8; ++i)
        EXPECT_FALSE(form->RzTabControl1->isTabVisible(i)) << i;
    EXPECT_EQ(form->RzTabControl1->currentIndex(), 0);
    EXPECT_EQ(HistoryLines("W", from),
              (QStringList{"W 02  01 00 00 00 00 00 00 ", "W 02  01 01 00 00 00 00 00 ",
                           "W 02  01 02 00 00 00 00 00 "}));
    ASSERT_TRUE(AllAnswered());
    EXPECT_EQ(form->RzEdit1->text(), "Ctrl+C");
}

TEST_F(TabsTest, ChoosingATabShowsItsPedal)
{
    Plug();
    StartAndWaitForAnswers();
    form->RzSpinEdit1->setValue(3);
    ASSERT_TRUE(AllAnswered());
    const int ons = HookOns();

    ClickTab(1);
    EXPECT_EQ(form->RzTabControl1->currentIndex(), 1);
    EXPECT_EQ(form->RzEdit1->text(), "Ctrl+V");
    EXPECT_EQ(form->RzLabel3->text(), "2 pairs of buttons to set");
    EXPECT_TRUE(form->RzEdit1->hasFocus());
    EXPECT_GE(HookOns(), ons + 1);

    // The same tab again refreshes label and text.
    form->RzLabel3->setText("x");
    form->PedalConfigTable.SetKeyText(1, "Shift+B");
    ClickTab(1);
    EXPECT_EQ(form->RzLabel3->text(), "2 pairs of buttons to set");
    EXPECT_EQ(form->RzEdit1->text(), "Shift+B");
}

// Ctrl held on "Pedal 1", the tab "Pedal 2" clicked, Ctrl released: the
// click leaves the focus in the key box, and pedal 2 keeps what it had.
TEST_F(TabsTest, KeyHeldAcrossATabChangeReachesNoPedal)
{
    Plug();
    StartAndWaitForAnswers();
    form->RzSpinEdit1->setValue(3);
    ASSERT_TRUE(AllAnswered());
    form->RzEdit1->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(WaitFor([this] { return form->RzEdit1->hasFocus(); }));
    Key(0x1D, true);
    ClickTab(1);
    ASSERT_TRUE(form->RzEdit1->hasFocus());
    Key(0x1D, false);
    EXPECT_EQ(form->RzEdit1->text(), "Ctrl+V");
    EXPECT_EQ(form->PedalConfigTable.KeyText(1), "Ctrl+V");
    EXPECT_EQ(form->PedalConfigTable.JoinedCodeText(1), "01-19-00-00");
}

TEST_F(TabsTest, CountThreeToTwoWithTheThirdTabSelected)
{
    Plug();
    StartAndWaitForAnswers();
    form->RzSpinEdit1->setValue(3);
    ASSERT_TRUE(AllAnswered());
    ClickTab(2);
    ASSERT_EQ(form->RzLabel3->text(), "3 pairs of buttons to set");
    ASSERT_EQ(form->RzEdit1->text(), "Enter");
    form->RzSpinEdit1->setFocus();

    form->RzSpinEdit1->setValue(2);
    EXPECT_FALSE(form->RzTabControl1->isTabVisible(2));
    EXPECT_TRUE(form->RzTabControl1->isTabVisible(1));
    EXPECT_EQ(form->RzTabControl1->currentIndex(), 0);
    EXPECT_EQ(form->RzEdit1->text(), "Ctrl+C");
    EXPECT_TRUE(form->RzEdit1->hasFocus());
    EXPECT_EQ(form->RzLabel3->text(), "3 pairs of buttons to set");
}

}  // namespace
}  // namespace app
