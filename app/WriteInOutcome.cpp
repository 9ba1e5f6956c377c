#include "app/WriteInOutcome.h"

#include <QStringList>

#include <cerrno>
#include <cstring>

#include "app/AccessAdvice.h"
#include "app/ReadBackTexts.h"

namespace app {
namespace {

// "pedal 2", "pedals 1 and 3", "pedals 1, 2 and 3".
QString PedalList(const std::vector<int>& pedals)
{
    QStringList numbers;
    for (int pedal : pedals)
        numbers << QString::number(pedal);
    if (numbers.size() == 1)
        return QStringLiteral("pedal ") + numbers.front();
    const QString last = numbers.takeLast();
    return QStringLiteral("pedals ") + numbers.join(QStringLiteral(", ")) + QStringLiteral(" and ") +
           last;
}

// That not every pedal was written, and which were not.
QString NotWrittenText(const WriteInOutcome& outcome)
{
    const auto notWritten = outcome.failedPedals.size() + outcome.unreadPedals.size();
    const bool none = static_cast<int>(notWritten) >= outcome.pedalCount;
    QString text = none ? QStringLiteral("The foot switch was not written:")
                        : QStringLiteral("The foot switch was not fully written:");
    if (!outcome.failedPedals.empty())
        text += (outcome.failedPedals.size() == 1 ? QStringLiteral(" the setting of ")
                                                  : QStringLiteral(" the settings of ")) +
                PedalList(outcome.failedPedals) + QStringLiteral(" could not be sent.");
    if (!outcome.unreadPedals.empty()) {
        // A sentence of its own after the one on the failed pedals.
        QString unread = PedalList(outcome.unreadPedals);
        if (!outcome.failedPedals.empty())
            unread[0] = unread[0].toUpper();
        text += QStringLiteral(" ") + unread +
                QStringLiteral(" could not be read out, so ") +
                (outcome.unreadPedals.size() == 1 ? QStringLiteral("it was") : QStringLiteral("they were")) +
                QStringLiteral(" left as ") +
                (outcome.unreadPedals.size() == 1 ? QStringLiteral("it is.") : QStringLiteral("they are."));
    }
    if (!none)
        text += QStringLiteral(" The other pedals were written.");
    return text;
}

}  // namespace

QString WriteInCaption()
{
    return QStringLiteral("Write in");
}

// The pedal written, after the texts above.
static QString SerialLine(const WriteInOutcome& outcome)
{
    return outcome.serial.isEmpty() ? QString() : QStringLiteral("\n\nFoot switch SN:") + outcome.serial;
}

QString WriteInDoneText(const WriteInOutcome& outcome)
{
    return QStringLiteral("Setup Done!") + SerialLine(outcome);
}

QString WriteInFailureText(const WriteInOutcome& outcome)
{
    if (outcome.noDevice)
        return QStringLiteral("The foot switch was not written: no foot switch is connected.");

    QString text;
    if (!outcome.failedPedals.empty() || !outcome.unreadPedals.empty())
        text = NotWrittenText(outcome);
    else
        text = outcome.differences.empty() ? ReadBackUnconfirmedHeading() : ReadBackDiffersHeading();
    // What the check found, a line per pedal.
    for (const ReadBackDifference& d : outcome.differences)
        text += u'\n' + PedalHoldsOtherText(d.pedal, d.heldName, d.held, d.writtenName, d.written);
    for (int pedal : outcome.unconfirmedPedals)
        text += u'\n' + PedalNotConfirmedText(pedal);

    if (IsAccessRefusal(outcome.error))
        text += QStringLiteral("\n\n") + GrantAccessHint();
    else if (outcome.error == ETIMEDOUT)
        text += QStringLiteral("\n\nThe foot switch did not take the settings in time.");
    else if (outcome.error != 0)
        text += QStringLiteral("\n\nThe system reported: ") +
                QString::fromLocal8Bit(std::strerror(outcome.error)) + QLatin1Char('.');
    return text + SerialLine(outcome);
}

}  // namespace app
