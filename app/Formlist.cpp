#include "app/Formlist.h"

#include <QListWidget>

#include "app/Fonts.h"

namespace app {

TFormlist::TFormlist(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("Formlist"));
    setWindowTitle(QStringLiteral("脚踏按键列表"));
    setFont(DefaultFont());
    setFixedSize(285, 259);
    setSizeGripEnabled(false);
    move(705, 184);

    Flistbox = new QListWidget(this);
    Flistbox->setObjectName(QStringLiteral("Flistbox"));
    Flistbox->setGeometry(24, 32, 217, 145);
}

}  // namespace app
