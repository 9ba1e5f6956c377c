#include "app/WriteInOutcome.h"

#include <QStringList>

#include <cerrno>

#include "app/AccessAdvice.h"
#include "app/SystemErrorText.h"

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

    if (IsAccessRefusal(outcome.error))
        text += QStringLiteral("\n\n") + GrantAccessHint();
    else if (outcome.error == ETIMEDOUT)
        text += QStringLiteral("\n\nThe foot switch did not take the settings in time.");
    else if (outcome.error != 0) {
        // The platform's own code is worth quoting; errno's number is not.
        const SystemErrorWords words = DescribeSystemError(outcome.error, outcome.nativeError);
        text += QStringLiteral("\n\nThe system reported: ") +
                (words.nativeCode ? SystemErrorWithCode(words) : words.text + QLatin1Char('.'));
        if (!words.cause.isEmpty())
            text += QLatin1Char(' ') + words.cause;
    }
    return text + SerialLine(outcome);
}

}  // namespace app
