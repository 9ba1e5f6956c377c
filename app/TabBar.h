// The tab row of TTabControl. Besides QTabBar's index change it reports a
// selection made by the user (mouse, keyboard, accelerator), after the index
// has changed and also when the user selects the tab that is already current.
// The mouse wheel does not switch tabs. A current tab that is hidden is not
// drawn (QTabBar would draw it squeezed to nothing). Assistive technology
// sees only the tabs that are shown (TabBarAccessible).
#pragma once

#include <QTabBar>

namespace app {

class TTabBar : public QTabBar {
    Q_OBJECT
public:
    using QTabBar::QTabBar;

    // Selects a visible, enabled tab as a click on it does (assistive
    // technology's "press"); false for any other tab.
    bool SelectByUser(int index);

signals:
    void tabSelectedByUser(int index);

protected:
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool IsSelectable(int index) const;
};

}  // namespace app
