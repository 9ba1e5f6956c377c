// Handlers of the main window that belong to the window itself: the
// connections of the layout, the timer, the current device, the key list
// dialog, the routing of the key edit box's focus changes, and the key
// vocabulary operations.
#include <QComboBox>
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
#include "app/TabControl.h"
#include "keys/KeyNameTable.h"
#include "keys/KeyNames.h"
#include "keys/ModifierNames.h"

namespace app {

void TMainForm::ConnectHandlers()
{
    connect(Timer1, &QTimer::timeout, this, &TMainForm::Timer1Timer);
    connect(RzBitBtn1, &QPushButton::clicked, this, &TMainForm::RzBitBtn1Click);
    connect(RzBitBtn2, &QPushButton::clicked, this, &TMainForm::RzBitBtn2Click);
    connect(Button1, &QPushButton::clicked, this, &TMainForm::Button1Click);
    // A pick by the user; the program's own index changes raise nothing.
    connect(CBox, &QComboBox::activated, this, &TMainForm::CBoxChange);
    connect(DevListBox, &QListWidget::itemClicked, this, &TMainForm::DevListBoxClick);
    connect(RzSpinEdit1, &QSpinBox::valueChanged, this, &TMainForm::RzSpinEdit1Change);
    connect(RzTabControl1, &TTabControl::currentChanged, this, &TMainForm::RzTabControl1Change);
    connect(RzTabControl1, &TTabControl::tabClicked, this, &TMainForm::RzTabControl1TabClick);
    RzEdit1->installEventFilter(this);
    ConnectCaptureHandlers();
    ConnectDeviceHandlers();
    ConnectProfileHandlers();
}

void TMainForm::ConnectDeviceHandlers()
{
    // As the layout connects them: no scan starts here.
    HidCtl.BeginLoading();
    HidCtl.SetOnEnumerate(hid::MakeHandler(this, &TMainForm::HidCtlEnumerate));
    HidCtl.SetOnDeviceChange(hid::MakeHandler(this, &TMainForm::HidCtlDeviceChange));
    HidCtl.SetOnDeviceData(hid::MakeHandler(this, &TMainForm::HidCtlDeviceData));
    HidCtl.SetOnDeviceDataError(hid::MakeHandler(this, &TMainForm::HidCtlDeviceDataError));
    HidCtl.EndLoading();
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

void TMainForm::RzButton1Click()
{
    TFormlist dialog(this);
    // Every key the pedal can be given, as the keyboard labels it.
    for (const keys::KeyNameRow& row : keys::KeyNameTable)
        dialog.Flistbox->addItem(QString::fromStdString(naming_.Name(row.number)));
    dialog.exec();
}

void TMainForm::HIDtoKey(int usage, QString& out) const
{
    out = QString::fromStdString(naming_.Name(usage));
}

void TMainForm::HIDtoKey2(std::uint8_t modifiers, QString& out) const
{
    std::string names;
    keys::HIDtoKey2(modifiers, names);
    out = QString::fromStdString(names);
}

void TMainForm::changekey(const QString& name, QString& out) const
{
    out = QString::number(naming_.Usage(name.toStdString()));
}

void TMainForm::Strtokeys(const QString& name, QString& out) const
{
    out = QString::number(naming_.Usage(name.toStdString()));
}

}  // namespace app
