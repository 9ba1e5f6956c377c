#include "app/Formlist.h"

#include <QListWidget>
#include <QShowEvent>
#include <QTimer>

#include "app/Fonts.h"
#include "app/WindowFrame.h"

namespace app {
namespace {

// The outer frame's screen position.
constexpr QPoint kFormlistPlace(705, 184);

}  // namespace

TFormlist::TFormlist(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("Formlist"));
    setWindowTitle(QStringLiteral("脚踏按键列表"));
    setFont(DefaultFont());
    setFixedSize(285, 259);
    setSizeGripEnabled(false);
    move(kFormlistPlace);

    Flistbox = new QListWidget(this);
    Flistbox->setObjectName(QStringLiteral("Flistbox"));
    Flistbox->setGeometry(24, 32, 217, 145);
}

void TFormlist::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // After Qt has placed the new native window itself.
    if (!event->spontaneous())
        QTimer::singleShot(0, this, [this] { PlaceWindowFrame(*this, kFormlistPlace); });
}

}  // namespace app
