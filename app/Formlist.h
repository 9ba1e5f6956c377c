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
};

}  // namespace app
