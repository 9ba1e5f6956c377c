// Tab control with a fixed collection of tabs that can be hidden one by one,
// over ONE shared, framed client area: the control's child widgets are the
// page of every tab. Child widgets are placed in the control's own
// coordinates, the tab row included.
//
// The selected index is the control's, not the tab row's: hiding or showing
// tabs never moves it, so the index can name a hidden tab (all tabs hidden
// still leaves one selected index; it is never -1 once a tab exists).
#pragma once

#include <QString>
#include <QWidget>

namespace app {

class TTabBar;

class TTabControl : public QWidget {
    Q_OBJECT
public:
    explicit TTabControl(QWidget* parent = nullptr);

    // Adds a visible tab; the first tab becomes the selected one. Does not
    // raise currentChanged.
    int addTab(const QString& caption);
    int tabCount() const;

    QString tabCaption(int index) const;
    void setTabCaption(int index, const QString& caption);

    bool isTabVisible(int index) const;
    void setTabVisible(int index, bool visible);

    int currentIndex() const { return index_; }
    // Selects a tab (visible or not). Raises currentChanged when the index
    // differs; a program selection never raises tabClicked.
    void setCurrentIndex(int index);

    TTabBar* tabBar() const { return bar_; }
    // Height of the tab row above the framed client area.
    int tabRowHeight() const;

signals:
    // The selected index changed, by the user or by the program.
    void currentChanged(int index);
    // The user selected a tab (after any currentChanged), also the current one.
    void tabClicked(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void OnBarCurrentChanged(int index);
    void KeepBarOnIndex();
    void LayoutBar();

    TTabBar* bar_;
    int index_ = -1;
    bool syncing_ = false;
};

}  // namespace app
