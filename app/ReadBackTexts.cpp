#include "app/ReadBackTexts.h"

#include <QCoreApplication>
#include <QStringList>

#include "protocol/HexText.h"

namespace app {
namespace {

// The four bytes as the diagnostic field shows a row: 01-05-00-00.
QString BytesText(const protocol::AssignmentBytes& bytes)
{
    QStringList parts;
    for (std::uint8_t byte : bytes)
        parts << QString::fromStdString(protocol::HexByteText(byte));
    return parts.join(u'-');
}

QString NameOrNoKey(const QString& name)
{
    return name.isEmpty() ? QCoreApplication::translate("Messages", "no key") : name;
}

}  // namespace

QString ReadBackDiffersHeading()
{
    return QCoreApplication::translate("Messages", "The foot switch was written, but it does not hold what was written:");
}

QString ReadBackUnconfirmedHeading()
{
    return QCoreApplication::translate("Messages", "The foot switch was written, but the check could not confirm it:");
}

QString PedalHoldsOtherText(int pedal, const QString& heldName, const protocol::AssignmentBytes& held,
                            const QString& writtenName, const protocol::AssignmentBytes& written)
{
    return QCoreApplication::translate("Messages", "Pedal %1 holds %2 (%3), not %4 (%5).")
        .arg(pedal)
        .arg(NameOrNoKey(heldName), BytesText(held), NameOrNoKey(writtenName), BytesText(written));
}

QString PedalNotConfirmedText(int pedal)
{
    return QCoreApplication::translate("Messages", "Pedal %1 did not answer the check; its setting is not confirmed.").arg(pedal);
}

}  // namespace app
