// Pedal discovery and selection: the controller's enumeration and
// device-change events, the found / not-found states of the window, and the
// choice among several pedals.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include "app/DeviceListItem.h"
#include "app/MainForm.h"
#include "app/PedalIdentity.h"
#include "app/TabControl.h"
#include "hid/THidDevice.h"

namespace app {
namespace {

QString SerialLabel(hid::THidDevice* device)
{
    const std::u16string serial = device != nullptr ? device->SerialText() : std::u16string();
    return QStringLiteral("SN:") + QString::fromStdU16String(serial);
}

}  // namespace

bool TMainForm::HidCtlEnumerate(hid::THidDevice* HidDev, std::int32_t Idx)
{
    // Only pedals are checked out: other HID devices stay with the
    // controller, and their reports never reach the answer decoding.
    if (HidDev == nullptr || !IsListedPedal(*HidDev))
        return true;
    hid::THidDevice* device = nullptr;
    HidCtl.CheckOutAt(device, Idx);   // starts the pedal's reader
    auto* entry = new QListWidgetItem(
        PedalDescription(HidDev->ProductText(), HidDev->SerialText()), DevListBox);
    AttachDevice(*entry, device);
    return true;
}

void TMainForm::ReleaseDevices()
{
    CurrentDevice = nullptr;
    // Taken off the entries first, so nothing reaches a device while it goes.
    std::vector<hid::THidDevice*> owned;
    for (int row = 0; row < DevListBox->count(); ++row) {
        QListWidgetItem& entry = *DevListBox->item(row);
        owned.push_back(AttachedDevice(entry));
        AttachDevice(entry, nullptr);
    }
    owned.push_back(std::exchange(fallbackDevice_, nullptr));
    for (hid::THidDevice* device : owned)
        GiveBack(device);
    DevListBox->clear();
}

void TMainForm::HidCtlDeviceChange(hid::THidDeviceController*)
{
    // A write-in under way ends first; the rescan follows it.
    if (DeferDeviceChange())
        return;
    // 1. Give back the devices of the last scan; empty the list.
    ReleaseDevices();
    // 2. HidCtlEnumerate lists the pedals in the controller's order.
    HidCtl.EnumerateDevices();
    // 3. The first pedal is selected and read out.
    if (DevListBox->count() > 0) {
        DevListBox->setCurrentRow(0);
        DevListBoxClick();
    }
    // 4. The drop-down list mirrors the device list.
    CBox->clear();
    for (int row = 0; row < DevListBox->count(); ++row)
        CBox->addItem(DevListBox->item(row)->text());
    CBox->setCurrentIndex(DevListBox->currentRow());
    // 5. The selected pedal becomes current.
    CurrentDevice = nullptr;
    if (DevListBox->count() > 0)
        if (const QListWidgetItem* selected = DevListBox->currentItem())
            CurrentDevice = AttachedDevice(*selected);
    // 6. Nothing listed: the first device with the ids and 8-byte input
    //    reports. It hangs on no entry; the window holds it apart.
    if (CurrentDevice == nullptr) {
        hid::THidDevice* device = nullptr;
        if (HidCtl.CheckOutFirstMatch(device, &IsFallbackPedal))
            fallbackDevice_ = device;
        CurrentDevice = device;
    }
    // 7. / 8.
    if (CurrentDevice != nullptr)
        ShowPedalFound();
    else
        ShowNoPedal();
    CheckPedalAccess();
}

void TMainForm::ShowPedalFound()
{
    VarnokAvailable->setText(QString::number(DevListBox->count()) +
                             QStringLiteral(" foot switch is connected!"));
    RzLabel8->setText(SerialLabel(CurrentDevice));
    // The count returns to 1. The spin edit reports only a change of its
    // value (its handler then lays out the tabs and reads out); when it held
    // 1 already the tabs are laid out all the same, so the tab control never
    // comes back without tab headers.
    const bool countChanges = RzSpinEdit1->value() != 1;
    RzSpinEdit1->setValue(1);
    if (!countChanges)
        LayOutTabs();
    RzSpinEdit1->show();
    RzLabel2->show();
    Image1->show();
    Image2->hide();
    RzBitBtn1->setEnabled(true);
    RzBitBtn2->setEnabled(true);
    ReadPending = true;
    RzTabControl1->show();
    RzBitBtn2Click();
    Timer1->start();
}

void TMainForm::ShowNoPedal()
{
    VarnokAvailable->setText(QStringLiteral("foot switch not found!"));
    RzSpinEdit1->hide();
    RzLabel2->hide();
    Image1->hide();
    Image2->show();
    RzLabel8->clear();
    RzBitBtn1->setEnabled(false);
    RzBitBtn2->setEnabled(false);
    for (int i = 0; i < RzTabControl1->tabCount(); ++i)
        RzTabControl1->setTabVisible(i, false);
    RzTabControl1->hide();
    RzLabel5->clear();
    Timer1->stop();
    // No keyboard hook stays installed while there is nothing to configure.
    HookLink.CallHookOff();
}

void TMainForm::DevListBoxClick()
{
    const QListWidgetItem* selected = DevListBox->count() > 0 ? DevListBox->currentItem() : nullptr;
    if (selected == nullptr)
        return;
    RzLabel8->setText(SerialLabel(AttachedDevice(*selected)));
    CBox->setCurrentIndex(DevListBox->currentRow());
    RzBitBtn2Click();
}

void TMainForm::CBoxChange()
{
    DevListBox->setCurrentRow(CBox->currentIndex());
    DevListBoxClick();
}

void TMainForm::HidCtlDeviceDataError(hid::THidDevice*, std::uint32_t)
{
    // Connected while the window is built, before any device exists; devices
    // made by later scans do not take the controller's data-error handler,
    // so this runs only for a device that was given it explicitly. It starts
    // the program afresh: the event loop ends, a new instance is launched.
    QApplication::quit();
    QProcess::startDetached(QApplication::applicationFilePath(), QStringList());
}

}  // namespace app
