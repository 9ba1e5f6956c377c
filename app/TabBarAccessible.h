// The accessible interface of the tab row: a page tab list whose tabs are
// named by their accessible tab names and report a hidden tab as invisible
// (Qt's own interface shows every tab, hidden ones included). A tab's
// "press" selects it as a click does.
#pragma once

#include <QAccessibleWidget>
#include <QHash>

namespace app {

class TTabBar;

class TabBarAccessible : public QAccessibleWidget {
public:
    explicit TabBarAccessible(TTabBar* bar);
    ~TabBarAccessible() override;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* focusChild() const override;
    QString text(QAccessible::Text t) const override;

    TTabBar* bar() const;

private:
    mutable QHash<int, QAccessible::Id> tabs_;
};

}  // namespace app
