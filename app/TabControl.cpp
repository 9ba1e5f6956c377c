#include "app/TabControl.h"

#include <QEvent>
#include <QStyleOptionTab>
#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>

#include "app/TabBar.h"

namespace app {

TTabControl::TTabControl(QWidget* parent) : QWidget(parent), bar_(new TTabBar(this))
{
    bar_->setObjectName(QStringLiteral("tabRow"));
    bar_->setDrawBase(false);
    bar_->setExpanding(false);
    bar_->setUsesScrollButtons(true);
    connect(bar_, &QTabBar::currentChanged, this, &TTabControl::OnBarCurrentChanged);
    connect(bar_, &TTabBar::tabSelectedByUser, this, &TTabControl::tabClicked);
    LayoutBar();
}

int TTabControl::addTab(const QString& caption)
{
    syncing_ = true;
    const int index = bar_->addTab(caption);
    syncing_ = false;
    if (index_ < 0)
        index_ = 0;
    KeepBarOnIndex();
    LayoutBar();
    return index;
}

int TTabControl::tabCount() const
{
    return bar_->count();
}

QString TTabControl::tabCaption(int index) const
{
    return bar_->tabText(index);
}

void TTabControl::setTabCaption(int index, const QString& caption)
{
    bar_->setTabText(index, caption);
}

bool TTabControl::isTabVisible(int index) const
{
    return index >= 0 && index < bar_->count() && bar_->isTabVisible(index);
}

void TTabControl::setTabVisible(int index, bool visible)
{
    if (index < 0 || index >= bar_->count())
        return;
    syncing_ = true;
    bar_->setTabVisible(index, visible);   // may move the row's current tab
    syncing_ = false;
    KeepBarOnIndex();
    update();
}

void TTabControl::setCurrentIndex(int index)
{
    if (index < 0 || index >= bar_->count() || index == index_)
        return;
    index_ = index;
    KeepBarOnIndex();
    emit currentChanged(index_);
}

void TTabControl::OnBarCurrentChanged(int index)
{
    if (syncing_ || index < 0 || index == index_)
        return;
    index_ = index;   // the user moved the selection on the tab row
    emit currentChanged(index_);
}

void TTabControl::KeepBarOnIndex()
{
    if (index_ < 0 || bar_->currentIndex() == index_)
        return;
    syncing_ = true;
    bar_->setCurrentIndex(index_);
    syncing_ = false;
}

int TTabControl::tabRowHeight() const
{
    // The height of one tab, whether or not any tab is visible, so the
    // client area does not jump when tabs come and go.
    QStyleOptionTab option;
    option.initFrom(bar_);
    option.shape = QTabBar::RoundedNorth;
    option.text = QStringLiteral("Pedal 1");
    const QSize contents(bar_->fontMetrics().horizontalAdvance(option.text),
                         bar_->fontMetrics().height() +
                             style()->pixelMetric(QStyle::PM_TabBarTabVSpace, &option, bar_));
    return style()->sizeFromContents(QStyle::CT_TabBarTab, &option, contents, bar_).height();
}

void TTabControl::LayoutBar()
{
    bar_->setGeometry(0, 0, width(), tabRowHeight());
}

void TTabControl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayoutBar();
}

void TTabControl::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        LayoutBar();
}

void TTabControl::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    const int overlap = style()->pixelMetric(QStyle::PM_TabBarBaseOverlap, nullptr, this);
    frame.rect = rect().adjusted(0, tabRowHeight() - overlap, 0, 0);
    frame.shape = QTabBar::RoundedNorth;
    frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    frame.tabBarSize = bar_->sizeHint();
    frame.tabBarRect = bar_->geometry();
    frame.selectedTabRect = bar_->tabRect(index_).translated(bar_->pos());
    painter.drawPrimitive(QStyle::PE_FrameTabWidget, frame);
}

}  // namespace app
