// The tab control: the order and kind of its signals, and an index that
// hiding tabs never moves.
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/TabBar.h"
#include "app/TabControl.h"

namespace app {
namespace {

class TabControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        control.resize(409, 145);
        for (int i = 1; i <= 8; ++i)
            control.addTab(QStringLiteral("Tab %1").arg(i));
        for (int i = 3; i < 8; ++i)
            control.setTabVisible(i, false);
        QObject::connect(&control, &TTabControl::currentChanged,
                         [this](int index) { events.push_back("change " + std::to_string(index)); });
        QObject::connect(&control, &TTabControl::tabClicked,
                         [this](int index) { events.push_back("click " + std::to_string(index)); });
        control.show();
        control.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&control));
    }

    void ClickTab(int index)
    {
        TTabBar* bar = control.tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(index).center());
    }

    TTabControl control;
    std::vector<std::string> events;
};

using Events = std::vector<std::string>;

TEST_F(TabControlTest, UserSelectionChangesTheIndexThenReportsTheClick)
{
    ClickTab(1);
    EXPECT_EQ(events, (Events{"change 1", "click 1"}));
    EXPECT_EQ(control.currentIndex(), 1);

    events.clear();
    ClickTab(1);   // the selected tab again: only the click
    EXPECT_EQ(events, Events{"click 1"});

    events.clear();
    control.tabBar()->setFocus();
    QTest::keyClick(control.tabBar(), Qt::Key_Right);
    EXPECT_EQ(events, (Events{"change 2", "click 2"}));
    events.clear();
    QTest::keyClick(control.tabBar(), Qt::Key_Right);   // tab 3 is hidden: nowhere to go
    EXPECT_EQ(events, Events{});
    EXPECT_EQ(control.currentIndex(), 2);
}

TEST_F(TabControlTest, ProgramSelectionReportsOnlyTheChange)
{
    control.setCurrentIndex(2);
    control.setCurrentIndex(2);
    control.setCurrentIndex(8);
    control.setCurrentIndex(-1);
    EXPECT_EQ(events, Events{"change 2"});
    EXPECT_EQ(control.currentIndex(), 2);
    EXPECT_EQ(control.tabBar()->currentIndex(), 2);
}

TEST_F(TabControlTest, HidingTabsKeepsTheIndexAndRaisesNothing)
{
    control.setCurrentIndex(2);
    events.clear();
    for (int i = 0; i < 8; ++i)
        control.setTabVisible(i, false);
    EXPECT_EQ(events, Events{});
    EXPECT_EQ(control.currentIndex(), 2);

    control.setTabVisible(0, true);
    EXPECT_EQ(control.currentIndex(), 2);
    control.setCurrentIndex(0);
    EXPECT_EQ(events, Events{"change 0"});
    EXPECT_EQ(control.tabBar()->currentIndex(), 0);
}

TEST_F(TabControlTest, WheelDoesNotSwitchTabs)
{
    TTabBar* bar = control.tabBar();
    const QPointF at = bar->tabRect(0).center();
    QWheelEvent wheel(at, bar->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(bar, &wheel);
    EXPECT_EQ(events, Events{});
    EXPECT_EQ(control.currentIndex(), 0);
}

TEST_F(TabControlTest, CaptionsAndVisibility)
{
    control.setTabCaption(0, QStringLiteral("Pedal 1"));
    EXPECT_EQ(control.tabCaption(0), "Pedal 1");
    EXPECT_EQ(control.tabBar()->tabText(0), "Pedal 1");
    EXPECT_TRUE(control.isTabVisible(2));
    EXPECT_FALSE(control.isTabVisible(3));
    EXPECT_FALSE(control.isTabVisible(8));
    control.setTabVisible(9, true);   // out of range: ignored
    EXPECT_EQ(control.tabCount(), 8);
    // Children below the tab row are not covered by it.
    EXPECT_LT(control.tabRowHeight(), 32);
    EXPECT_GT(control.tabRowHeight(), 0);
}

}  // namespace
}  // namespace app
