#include "app/MessageBoxSink.h"

namespace app {

QMessageBox::StandardButton MessageBoxSink::Show(QWidget* owner, QMessageBox::Icon icon,
                                                 const QString& title, const QString& text,
                                                 QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, title, text, buttons, owner);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace app
