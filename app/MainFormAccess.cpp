// Access check after a scan: a pedal whose device node this user may not
// open for reading and writing can be neither read out nor written in. The
// user is told once per plug-in of such a pedal, and how to allow access.
#include <QListWidget>
#include <QTimer>

#include <vector>

#include "app/AccessAdvice.h"
#include "app/DeviceListItem.h"
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
    bool warn = false;
    for (const hid::THidDevice* device : found) {
        if (device != nullptr && !device->ReadWriteAccess() &&
            accessWarned_.insert(device->PnPInfo().DeviceInstance).second)
            warn = true;
    }
    // Shown from the event loop, after the scan: a modal box inside the
    // controller's rescan would hold back every device change meanwhile.
    if (warn)
        QTimer::singleShot(0, this, &TMainForm::ShowAccessAdvice);
}

void TMainForm::ShowAccessAdvice()
{
    Messages().Show(this, QMessageBox::Warning, AccessAdviceCaption(), AccessAdviceText(),
                    QMessageBox::Ok);
}

}  // namespace app
