// The key list dialog: a small fixed window holding one list box that
// nothing fills.
#pragma once

#include <QDialog>

class QListWidget;

namespace app {

class TFormlist : public QDialog {
    Q_OBJECT
public:
    explicit TFormlist(QWidget* owner = nullptr);

    QListWidget* Flistbox;

protected:
    // Puts the outer frame at the dialog's place once it is shown.
    void showEvent(QShowEvent* event) override;
};

}  // namespace app
