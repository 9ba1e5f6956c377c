#include "app/AccessibleInterfaces.h"

#include <QAccessibleWidget>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QString>
#include <QVariant>

#include "app/TabBar.h"
#include "app/TabBarAccessible.h"

namespace app {
namespace {

constexpr char kValueCaption[] = "varnokValueCaption";
constexpr char kValuePrefix[] = "varnokValuePrefix";

class ReadOnlyLineEditAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit ReadOnlyLineEditAccessible(QLineEdit* edit) : QAccessibleWidget(edit, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        state.editable = false;
        state.selectableText = true;
        return state;
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return edit()->text();
        return QAccessibleWidget::text(t);
    }

    // QAccessibleTextInterface: the text and the cursor; no selections.
    void selection(int, int* startOffset, int* endOffset) const override { *startOffset = *endOffset = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return edit()->cursorPosition(); }
    void setCursorPosition(int position) override { edit()->setCursorPosition(position); }
    QString text(int startOffset, int endOffset) const override
    {
        return edit()->text().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(edit()->text().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* startOffset, int* endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

private:
    QLineEdit* edit() const { return static_cast<QLineEdit*>(widget()); }
};

class ValueLabelAccessible : public QAccessibleWidget {
public:
    explicit ValueLabelAccessible(QLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override
    {
        const QLabel* label = static_cast<QLabel*>(widget());
        const QString caption = label->property(kValueCaption).toString();
        QString value = label->text();
        if (const QString prefix = label->property(kValuePrefix).toString();
            !prefix.isEmpty() && value.startsWith(prefix))
            value.remove(0, prefix.size());
        if (t == QAccessible::Name)
            return value.isEmpty() ? caption : caption + QStringLiteral(": ") + value;
        if (t == QAccessible::Value)
            return value;
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* MakeInterface(const QString& key, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr)
        return nullptr;
    if (key == QLatin1String("app::TMainForm"))
        return new QAccessibleWidget(widget, QAccessible::Window);
    if (key == QLatin1String("app::TTabBar"))
        return new TabBarAccessible(static_cast<TTabBar*>(widget));
    if (key == QLatin1String("app::TTabControl"))
        return new QAccessibleWidget(widget, QAccessible::Grouping);
    if (key == QLatin1String("QLineEdit")) {
        auto* edit = static_cast<QLineEdit*>(widget);
        return edit->isReadOnly() ? new ReadOnlyLineEditAccessible(edit) : nullptr;
    }
    if (key == QLatin1String("QFrame") && static_cast<QFrame*>(widget)->frameShape() == QFrame::HLine)
        return new QAccessibleWidget(widget, QAccessible::Separator);
    if (key == QLatin1String("QLabel") && widget->property(kValueCaption).isValid())
        return new ValueLabelAccessible(static_cast<QLabel*>(widget));
    return nullptr;
}

}  // namespace

void InstallAccessibleInterfaces()
{
    static const bool installed = [] {
        QAccessible::installFactory(&MakeInterface);
        return true;
    }();
    (void)installed;
}

void SetAccessibleValueCaption(QLabel& label, const QString& caption, const QString& printedPrefix)
{
    label.setProperty(kValueCaption, caption);
    label.setProperty(kValuePrefix, printedPrefix);
}

}  // namespace app
