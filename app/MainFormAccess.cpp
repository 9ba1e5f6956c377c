// Access check after a scan: a pedal whose device node this user may not
// open for reading and writing can be neither read out nor written in. The
// user is told once per plug-in of such a pedal: how to allow access when it
// was refused, the system's reason otherwise. Warnings wait until the window
// is shown.
#include <QListWidget>
#include <QShowEvent>
#include <QTimer>

#include <vector>

#include "app/AccessAdvice.h"
#include "app/DeviceListItem.h"
#include "app/DiscoveryAdvice.h"
#include "app/MainForm.h"
#include "app/MessageSink.h"
#include "hid/THidDevice.h"

namespace app {

void TMainForm::CheckPedalAccess()
{
    // A pedal that left forgets its warning: plugged in again, it warns again.
    std::set<hid::platform::DeviceInstanceId> present;
    for (std::int32_t i = 0; i < HidCtl.Count(); ++i) {
        const hid::THidDevice* device = HidCtl.At(i);
        if (device->Present())
            present.insert(device->PnPInfo().DeviceInstance);
    }
    std::erase_if(accessWarned_, [&present](auto id) { return present.count(id) == 0; });

    std::vector<hid::THidDevice*> found{fallbackDevice_};
    for (int row = 0; row < DevListBox->count(); ++row)
        found.push_back(AttachedDevice(*DevListBox->item(row)));
    bool refused = false;
    for (const hid::THidDevice* device : found) {
        if (device == nullptr || device->ReadWriteAccess() ||
            !accessWarned_.insert(device->PnPInfo().DeviceInstance).second)
            continue;
        const int error = device->ReadWriteOpenError();
        if (IsAccessRefusal(error) || error == 0)
            refused = true;
        else
            WarnLater(OpenFailureText(error, device->ReadWriteOpenNativeError()));
    }
    if (refused)
        WarnLater(AccessAdviceText());
}

void TMainForm::ShowDiscoveryUnavailable()
{
    ShowNoPedal();
    WarnLater(DiscoveryUnavailableText());
}

void TMainForm::WarnLater(const QString& text)
{
    pendingWarnings_.append(text);
    if (isVisible() && pendingWarnings_.size() == 1)
        QTimer::singleShot(0, this, &TMainForm::ShowWarnings);
}

void TMainForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!framePlaced_ && !event->spontaneous()) {
        // After Qt has placed the new native window itself.
        framePlaced_ = true;
        QTimer::singleShot(0, this, &TMainForm::PlaceFrame);
    }
    if (!pendingWarnings_.isEmpty() && !event->spontaneous())
        QTimer::singleShot(0, this, &TMainForm::ShowWarnings);
}

void TMainForm::ShowWarnings()
{
    while (!pendingWarnings_.isEmpty() && isVisible()) {
        const QString text = pendingWarnings_.takeFirst();
        Messages().Show(this, QMessageBox::Warning, AccessAdviceCaption(), text, QMessageBox::Ok);
    }
}

}  // namespace app
