// Where the window's message boxes go. The program shows them with
// QMessageBox; tests put a recorder in its place so nothing blocks.
#pragma once

#include <QMessageBox>
#include <QString>

namespace app {

class MessageSink {
public:
    virtual ~MessageSink() = default;
    // Shows a modal message box owned by `owner` (may be null) and returns
    // the button that closed it.
    virtual QMessageBox::StandardButton Show(QWidget* owner, QMessageBox::Icon icon,
                                             const QString& title, const QString& text,
                                             QMessageBox::StandardButtons buttons) = 0;
};

}  // namespace app
