#include "app/TabBarAccessible.h"

#include <QPointer>

#include "app/TabBar.h"

namespace app {
namespace {

QString TabName(const QTabBar& bar, int index)
{
    const QString name = bar.accessibleTabName(index);
    return name.isEmpty() ? bar.tabText(index).remove(QLatin1Char('&')) : name;
}

class TabAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    TabAccessible(TTabBar* bar, int index) : bar_(bar), index_(index) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }

    bool isValid() const override { return bar_ && index_ < bar_->count(); }
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(bar_.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return {};
        if (t == QAccessible::Name)
            return TabName(*bar_, index_);
        if (t == QAccessible::Description)
            return bar_->tabToolTip(index_);
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override
    {
        if (!isValid() || !bar_->isTabVisible(index_))
            return {};
        const QRect local = bar_->tabRect(index_);
        return QRect(bar_->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid())
            return state;
        state.selectable = true;
        state.focusable = true;
        if (!bar_->isTabVisible(index_) || !bar_->isVisible()) {
            state.invisible = true;
            state.offscreen = true;
        }
        if (!bar_->isTabEnabled(index_))
            state.disabled = true;
        if (bar_->currentIndex() == index_) {
            state.selected = true;
            state.focused = bar_->hasFocus();
        }
        return state;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }
    void doAction(const QString& name) override
    {
        if (isValid() && name == pressAction())
            bar_->SelectByUser(index_);
    }

private:
    QPointer<TTabBar> bar_;
    int index_;
};

}  // namespace

TabBarAccessible::TabBarAccessible(TTabBar* bar) : QAccessibleWidget(bar, QAccessible::PageTabList) {}

TabBarAccessible::~TabBarAccessible()
{
    for (QAccessible::Id id : std::as_const(tabs_))
        QAccessible::deleteAccessibleInterface(id);
}

TTabBar* TabBarAccessible::bar() const
{
    return static_cast<TTabBar*>(widget());
}

// The tabs only: the scroll buttons are never needed, every shown tab fits.
int TabBarAccessible::childCount() const
{
    return bar()->count();
}

QAccessibleInterface* TabBarAccessible::child(int index) const
{
    if (index < 0 || index >= bar()->count())
        return nullptr;
    if (const auto found = tabs_.constFind(index); found != tabs_.constEnd())
        return QAccessible::accessibleInterface(*found);
    auto* tab = new TabAccessible(bar(), index);
    tabs_.insert(index, QAccessible::registerAccessibleInterface(tab));
    return tab;
}

int TabBarAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    for (auto it = tabs_.constBegin(); it != tabs_.constEnd(); ++it) {
        if (QAccessible::accessibleInterface(it.value()) == child)
            return it.key();
    }
    return -1;
}

QAccessibleInterface* TabBarAccessible::focusChild() const
{
    return bar()->hasFocus() ? child(bar()->currentIndex()) : nullptr;
}

QString TabBarAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && bar()->currentIndex() >= 0)
        return TabName(*bar(), bar()->currentIndex());
    return QAccessibleWidget::text(t);
}

}  // namespace app
