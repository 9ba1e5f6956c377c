// The program's message sink: a modal QMessageBox.
#pragma once

#include "app/MessageSink.h"

namespace app {

class MessageBoxSink final : public MessageSink {
public:
    QMessageBox::StandardButton Show(QWidget* owner, QMessageBox::Icon icon, const QString& title,
                                     const QString& text,
                                     QMessageBox::StandardButtons buttons) override;
};

}  // namespace app
