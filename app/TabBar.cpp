#include "app/TabBar.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionTab>
#include <QStylePainter>
#include <QWheelEvent>

namespace app {

bool TTabBar::IsSelectable(int index) const
{
    return index >= 0 && index < count() && isTabVisible(index) && isTabEnabled(index);
}

bool TTabBar::SelectByUser(int index)
{
    if (!IsSelectable(index))
        return false;
    setCurrentIndex(index);
    emit tabSelectedByUser(index);
    return true;
}

bool TTabBar::event(QEvent* event)
{
    if (event->type() != QEvent::Shortcut)
        return QTabBar::event(event);
    // An accelerator (a caption with '&') selects its tab; QTabBar consumes
    // the shortcut only when it belongs to one of its tabs.
    const bool handled = QTabBar::event(event);
    if (handled && event->isAccepted() && IsSelectable(currentIndex()))
        emit tabSelectedByUser(currentIndex());
    return handled;
}

void TTabBar::mousePressEvent(QMouseEvent* event)
{
    const int pressed = event->button() == Qt::LeftButton ? tabAt(event->position().toPoint()) : -1;
    QTabBar::mousePressEvent(event);
    if (IsSelectable(pressed) && currentIndex() == pressed)
        emit tabSelectedByUser(pressed);
}

void TTabBar::keyPressEvent(QKeyEvent* event)
{
    // Left and right move to the next visible, enabled tab (QTabBar itself
    // would also land on hidden ones).
    if (event->key() != Qt::Key_Left && event->key() != Qt::Key_Right) {
        event->ignore();
        return;
    }
    const Qt::Key back = isRightToLeft() ? Qt::Key_Right : Qt::Key_Left;
    const int step = event->key() == back ? -1 : 1;
    for (int index = currentIndex() + step; index >= 0 && index < count(); index += step) {
        if (IsSelectable(index)) {
            setCurrentIndex(index);
            emit tabSelectedByUser(index);
            break;
        }
    }
    event->accept();
}

void TTabBar::wheelEvent(QWheelEvent* event)
{
    event->ignore();
}

void TTabBar::paintEvent(QPaintEvent* event)
{
    const int current = currentIndex();
    if (current < 0 || isTabVisible(current)) {
        QTabBar::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    for (int i = 0; i < count(); ++i) {
        if (!isTabVisible(i))
            continue;
        QStyleOptionTab option;
        initStyleOption(&option, i);
        painter.drawControl(QStyle::CE_TabBarTab, option);
    }
}

}  // namespace app
