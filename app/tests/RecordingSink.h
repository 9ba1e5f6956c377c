// Message sink that records every box instead of showing it.
#pragma once

#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

#include "app/MessageSink.h"

namespace app::test {

struct ShownBox {
    QWidget* owner;
    QMessageBox::Icon icon;
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons;
};

class RecordingSink final : public MessageSink {
public:
    QMessageBox::StandardButton Show(QWidget* owner, QMessageBox::Icon icon, const QString& title,
                                     const QString& text,
                                     QMessageBox::StandardButtons buttons) override
    {
        shown.push_back({owner, icon, title, text, buttons});
        if (onShow)
            onShow();
        return buttons.testFlag(reply) ? reply : QMessageBox::Ok;
    }

    std::vector<ShownBox> shown;
    // The answer to a box that offers it (a question's Yes or No).
    QMessageBox::StandardButton reply = QMessageBox::Ok;
    // Runs as each box is shown (the moment a modal box would open).
    std::function<void()> onShow;
};

}  // namespace app::test
