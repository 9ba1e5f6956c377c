// Refused access on Windows: every user may open a HID device's vendor
// collection, so a refusal means that another program holds the pedal open
// for itself, or that the system's security settings block the device.
#include "app/AccessAdvice.h"

#include <QCoreApplication>

namespace app {

QString AccessAdviceText()
{
    return QCoreApplication::translate(
        "AccessAdvice",
        "A foot switch was found, but Windows refused to open it, so its settings can be "
        "neither read out nor written in.\n\n"
        "Another program may be holding the pedal open (another setup or macro tool): close "
        "it, then unplug the pedal and plug it in again. If that does not help, the "
        "computer's security settings may block access to the device; ask its "
        "administrator.");
}

QString GrantAccessHint()
{
    return QCoreApplication::translate(
        "AccessAdvice",
        "Windows refused access to the foot switch. Close any other program that may have the "
        "pedal open, then unplug and replug the pedal.");
}

}  // namespace app
