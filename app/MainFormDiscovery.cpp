// Pedal discovery and selection: the controller's enumeration and
// device-change events, the found / not-found states of the window, and the
// choice among several pedals.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include "app/AccessAdvice.h"
#include "app/DeviceListItem.h"
#include "app/MainForm.h"
#include "app/PedalKeyboardInput.h"
#include "app/PedalIdentity.h"
#include "app/ProgramRestart.h"
#include "app/TabControl.h"
#include "hid/THidDevice.h"

#include <optional>
#include <vector>

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
    if (HidDev == nullptr)
        return true;
    // The pedal's keyboard collection: read for the live pedal test.
    if (PedalKeyboardInput::ReadThroughController() && IsPedalKeyboard(*HidDev)) {
        hid::THidDevice* keyboard = nullptr;
        if (HidCtl.CheckOutAt(keyboard, Idx))
            pedalKeyboards_.push_back(keyboard);
        return true;
    }
    if (!IsListedPedal(*HidDev))
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
    // Answers to what was asked of them are not waited for.
    rowStates_.DropRequests();
    // Taken off the entries first, so nothing reaches a device while it goes.
    std::vector<hid::THidDevice*> owned;
    for (int row = 0; row < DevListBox->count(); ++row) {
        QListWidgetItem& entry = *DevListBox->item(row);
        owned.push_back(AttachedDevice(entry));
        AttachDevice(entry, nullptr);
    }
    owned.push_back(std::exchange(fallbackDevice_, nullptr));
    owned.insert(owned.end(), pedalKeyboards_.begin(), pedalKeyboards_.end());
    pedalKeyboards_.clear();
    pedalPresses_.Clear();
    for (hid::THidDevice* device : owned)
        GiveBack(device);
    DevListBox->clear();
}

std::vector<TMainForm::ListedPedal> TMainForm::ListedPedals() const
{
    std::vector<ListedPedal> pedals;
    for (int row = 0; row < DevListBox->count(); ++row) {
        if (const hid::THidDevice* device = AttachedDevice(*DevListBox->item(row)))
            pedals.push_back({device->PnPInfo().DeviceInstance, device->ReadWriteAccess(), false});
    }
    if (fallbackDevice_ != nullptr)
        pedals.push_back({fallbackDevice_->PnPInfo().DeviceInstance, fallbackDevice_->ReadWriteAccess(), true});
    return pedals;
}

void TMainForm::HidCtlDeviceChange(hid::THidDeviceController*)
{
    // A write-in under way ends first; the rescan follows it.
    if (DeferDeviceChange())
        return;
    const std::vector<ListedPedal> before = ListedPedals();
    const QListWidgetItem* selectedBefore = DevListBox->currentItem();
    const hid::THidDevice* selectedDevice = selectedBefore != nullptr ? AttachedDevice(*selectedBefore) : nullptr;
    const std::optional<hid::platform::DeviceInstanceId> selectedPedal =
        selectedDevice != nullptr ? std::optional(selectedDevice->PnPInfo().DeviceInstance) : std::nullopt;

    // 1. Give back the devices of the last scan; empty the list.
    ReleaseDevices();
    // 2. HidCtlEnumerate lists the pedals in the controller's order.
    HidCtl.EnumerateDevices();
    // 6. (taken first: it depends only on whether the list is empty) Nothing
    //    listed: the first device with the ids and 8-byte input reports. It
    //    hangs on no entry; the window holds it apart.
    if (DevListBox->count() == 0) {
        hid::THidDevice* device = nullptr;
        if (HidCtl.CheckOutFirstMatch(device, &IsFallbackPedal))
            fallbackDevice_ = device;
    }
    // The same pedals as before: another device came or went. The user's
    // choice of pedal, the count, the tabs and keys not yet written in stay
    // as they are, and nothing is read out.
    if (!before.empty() && ListedPedals() == before) {
        KeepPedalChoice(selectedPedal);
        CheckPedalAccess();
        return;
    }
    // Other pedals: what the table holds is no pedal's any more.
    ForgetRows();
    // 3. The first pedal is selected and read out (if it can be used).
    if (DevListBox->count() > 0) {
        DevListBox->setCurrentRow(0);
        SelectListedPedal(IsUsable(AttachedDevice(*DevListBox->item(0))));
    }
    // 4. The drop-down list mirrors the device list.
    FillPedalChoice();
    // 5. The selected pedal becomes current, else the fallback one.
    CurrentDevice = nullptr;
    if (DevListBox->count() > 0)
        if (const QListWidgetItem* selected = DevListBox->currentItem())
            CurrentDevice = AttachedDevice(*selected);
    if (CurrentDevice == nullptr)
        CurrentDevice = fallbackDevice_;
    // 7. / 8.
    if (CurrentDevice != nullptr)
        ShowPedalFound();
    else
        ShowNoPedal();
    CheckPedalAccess();
}

void TMainForm::KeepPedalChoice(std::optional<hid::platform::DeviceInstanceId> selected)
{
    int row = DevListBox->count() > 0 ? 0 : -1;
    for (int i = 0; i < DevListBox->count(); ++i) {
        const hid::THidDevice* device = AttachedDevice(*DevListBox->item(i));
        if (selected && device != nullptr && device->PnPInfo().DeviceInstance == *selected)
            row = i;
    }
    DevListBox->setCurrentRow(row);
    FillPedalChoice();
    CurrentDevice = row >= 0 ? AttachedDevice(*DevListBox->item(row)) : fallbackDevice_;
}

void TMainForm::FillPedalChoice()
{
    CBox->clear();
    for (int row = 0; row < DevListBox->count(); ++row)
        CBox->addItem(DevListBox->item(row)->text());
    CBox->setCurrentIndex(DevListBox->currentRow());
}

bool TMainForm::IsUsable(const hid::THidDevice* device)
{
    return device != nullptr && device->ReadWriteAccess();
}

void TMainForm::ShowStatusText(const QString& text)
{
    constexpr int kOneLine = 25;
    constexpr int kTwoLines = 36;
    VarnokAvailable->resize(VarnokAvailable->width(), text.contains(u'\n') ? kTwoLines : kOneLine);
    VarnokAvailable->setText(text);
    VarnokAvailable->setToolTip(QString());
}

void TMainForm::ShowPedalStatus()
{
    const int count = DevListBox->count();
    if (CurrentDevice == nullptr || IsUsable(CurrentDevice)) {
        ShowStatusText(tr("%1 foot switch is connected!").arg(count));
        return;
    }
    // Found, but this user cannot open it: said so, with the reason, on two
    // lines (the group box has room below the one-line status).
    const QString reason =
        UnusableReason(CurrentDevice->ReadWriteOpenError(), CurrentDevice->ReadWriteOpenNativeError());
    ShowStatusText(tr("%1 foot switch found,\nnot usable: %2").arg(QString::number(count), reason));
    VarnokAvailable->setToolTip(IsAccessRefusal(CurrentDevice->ReadWriteOpenError())
                                    ? AccessAdviceText()
                                    : OpenFailureText(CurrentDevice->ReadWriteOpenError(),
                                                      CurrentDevice->ReadWriteOpenNativeError()));
}

void TMainForm::ShowPedalFound()
{
    ShowPedalStatus();
    RzLabel8->setText(SerialLabel(CurrentDevice));
    const bool usable = IsUsable(CurrentDevice);
    // The count returns to 1. The spin edit reports only a change of its
    // value (its handler then lays out the tabs and reads out); when it held
    // 1 already the tabs are laid out all the same, so the tab control never
    // comes back without tab headers. A pedal that cannot be opened is not
    // read out.
    const bool countChanges = RzSpinEdit1->value() != 1;
    {
        const QSignalBlocker quiet(usable ? nullptr : RzSpinEdit1);
        RzSpinEdit1->setValue(1);
    }
    if (!countChanges || !usable)
        LayOutTabs();
    RzSpinEdit1->show();
    RzLabel2->show();
    Image1->show();
    Image2->hide();
    RzBitBtn1->setEnabled(true);
    RzBitBtn2->setEnabled(true);
    RzTabControl1->show();
    // Read out now and every 500 ms until the pedal answers; a pedal that
    // cannot be opened is not asked at all.
    ReadPending = usable;
    if (usable) {
        RzBitBtn2Click();
        Timer1->start();
    } else {
        Timer1->stop();
    }
}

void TMainForm::ShowNoPedal()
{
    ShowStatusText(tr("foot switch not found!"));
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
    StopListening();
}

void TMainForm::DevListBoxClick()
{
    const QListWidgetItem* selected = DevListBox->count() > 0 ? DevListBox->currentItem() : nullptr;
    if (selected == nullptr)
        return;
    const hid::THidDevice* device = AttachedDevice(*selected);
    ForgetRows();
    SelectListedPedal(IsUsable(device));
    if (!IsUsable(device)) {
        // Nothing to wait for from a pedal that cannot be opened.
        ReadPending = false;
        Timer1->stop();
    }
    CurrentDevice = AttachedDevice(*selected);
    ShowPedalStatus();
}

void TMainForm::SelectListedPedal(bool readOut)
{
    RzLabel8->setText(SerialLabel(AttachedDevice(*DevListBox->currentItem())));
    CBox->setCurrentIndex(DevListBox->currentRow());
    if (readOut)
        RzBitBtn2Click();
}

void TMainForm::CBoxChange()
{
    // Picking the pedal already chosen is no choice: nothing is read out
    // again, the keys not yet written stay.
    if (CBox->currentIndex() == DevListBox->currentRow())
        return;
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
    if (!StartProgram(QApplication::applicationFilePath(), this))
        qWarning("the program could not be started again");
}

}  // namespace app
