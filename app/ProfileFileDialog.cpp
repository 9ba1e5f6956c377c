#include "app/ProfileFileDialog.h"

#include <QFileDialog>

#include "app/ProfileTexts.h"

namespace app {

QString ChooseProfileFile(QWidget* parent, bool save, const QString& folder)
{
    QFileDialog dialog(parent, save ? SaveProfileCaption() : OpenProfileCaption(), folder, ProfileFileFilter());
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("json"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

}  // namespace app
