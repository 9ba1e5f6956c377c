// Handlers of the main window that belong to the window itself: the timer,
// the read-out entry point, the key list dialog, the routing of the key edit
// box's focus changes, and the key vocabulary operations.
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include <string>

#include "app/DeviceListItem.h"
#include "app/Formlist.h"
#include "app/MainForm.h"
#include "keys/KeyNames.h"
#include "keys/ModifierNames.h"

namespace app {

void TMainForm::ConnectHandlers()
{
    connect(Timer1, &QTimer::timeout, this, &TMainForm::Timer1Timer);
    connect(RzBitBtn2, &QPushButton::clicked, this, &TMainForm::RzBitBtn2Click);
    RzEdit1->installEventFilter(this);
    ConnectCaptureHandlers();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == RzEdit1) {
        if (event->type() == QEvent::FocusIn)
            RzEdit1Enter();
        else if (event->type() == QEvent::FocusOut)
            RzEdit1Exit();
    }
    return QWidget::eventFilter(watched, event);
}

void TMainForm::Timer1Timer()
{
    if (ReadPending)
        RzBitBtn2Click();
}

int TMainForm::PedalCount() const
{
    return RzSpinEdit1->value();
}

void TMainForm::RefreshCurrentDevice()
{
    if (DevListBox->count() < 1)
        return;
    if (const QListWidgetItem* selected = DevListBox->currentItem())
        CurrentDevice = AttachedDevice(*selected);
}

void TMainForm::RzBitBtn2Click()
{
    RefreshCurrentDevice();
}

void TMainForm::RzButton1Click()
{
    TFormlist dialog(this);
    dialog.exec();
}

void TMainForm::HIDtoKey(int usage, QString& out) const
{
    std::string name;
    keys::HIDtoKey(usage, name);
    out = QString::fromStdString(name);
}

void TMainForm::HIDtoKey2(std::uint8_t modifiers, QString& out) const
{
    std::string names;
    keys::HIDtoKey2(modifiers, names);
    out = QString::fromStdString(names);
}

void TMainForm::changekey(const QString& name, QString& out) const
{
    std::string number;
    keys::changekey(name.toStdString(), number);
    out = QString::fromStdString(number);
}

void TMainForm::Strtokeys(const QString& name, QString& out) const
{
    std::string number;
    keys::Strtokeys(name.toStdString(), number);
    out = QString::fromStdString(number);
}

}  // namespace app
