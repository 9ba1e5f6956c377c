// A virtual HID bus whose platform library cannot be loaded: a window on it
// never scans. At its first turn of the event loop it shows that no pedal
// can be found (and says so once it is shown).
#pragma once

#include <QLabel>
#include <QTest>

#include "app/MainForm.h"
#include "app/TabControl.h"
#include "hid/platform/virtual/VirtualBus.h"

namespace app::test {

class UnloadedBus : public hid::platform::virt::VirtualBus {
public:
    UnloadedBus() { SetLoadFails(true); }
};

// Waits until a window on an UnloadedBus has taken its no-pedal state, then
// shows the key tabs as a found pedal leaves them, so that the key edit box
// can take the focus. False when the state never came.
inline bool SettleWithKeyTabs(TMainForm& form)
{
    const bool settled = QTest::qWaitFor(
        [&form] { return form.VarnokAvailable->text() == QStringLiteral("foot switch not found!"); }, 10000);
    form.RzTabControl1->setTabVisible(0, true);
    form.RzTabControl1->show();
    return settled;
}

}  // namespace app::test
