#include "app/WriteInOutcome.h"

#include <QCoreApplication>
#include <QStringList>

#include <cerrno>

#include "app/AccessAdvice.h"
#include "app/ReadBackTexts.h"
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
        return QCoreApplication::translate("Messages", "pedal %1").arg(numbers.front());
    const QString last = numbers.takeLast();
    return QCoreApplication::translate("Messages", "pedals %1 and %2")
        .arg(numbers.join(QCoreApplication::translate("Messages", ", ", "between pedal numbers")), last);
}

// The pedal written, after the texts above.
QString SerialLine(const WriteInOutcome& outcome)
{
    return outcome.serial.isEmpty()
               ? QString()
               : QCoreApplication::translate("Messages", "\n\nFoot switch SN:%1").arg(outcome.serial);
}

// That not every pedal was written, and which were not.
QString NotWrittenText(const WriteInOutcome& outcome)
{
    const auto notWritten = outcome.failedPedals.size() + outcome.unreadPedals.size();
    const bool none = static_cast<int>(notWritten) >= outcome.pedalCount;
    QString text = none ? QCoreApplication::translate("Messages", "The foot switch was not written:")
                        : QCoreApplication::translate("Messages",
                                                      "The foot switch was not fully written:");
    if (!outcome.failedPedals.empty()) {
        const QString failed =
            outcome.failedPedals.size() == 1
                ? QCoreApplication::translate("Messages", " the setting of %1 could not be sent.")
                : QCoreApplication::translate("Messages", " the settings of %1 could not be sent.");
        text += failed.arg(PedalList(outcome.failedPedals));
    }
    if (!outcome.unreadPedals.empty()) {
        // A sentence of its own after the one on the failed pedals.
        QString pedals = PedalList(outcome.unreadPedals);
        if (!outcome.failedPedals.empty())
            pedals[0] = pedals[0].toUpper();
        const QString unread =
            outcome.unreadPedals.size() == 1
                ? QCoreApplication::translate("Messages",
                                              " %1 could not be read out, so it was left as it is.")
                : QCoreApplication::translate(
                      "Messages", " %1 could not be read out, so they were left as they are.");
        text += unread.arg(pedals);
    }
    if (!none)
        text += QCoreApplication::translate("Messages", " The other pedals were written.");
    return text;
}

}  // namespace

QString WriteInCaption()
{
    return QCoreApplication::translate("Messages", "Write in");
}

QString WriteInDoneText(const WriteInOutcome& outcome)
{
    return QCoreApplication::translate("Messages", "Setup Done!") + SerialLine(outcome);
}

// Sentences after the first begin with the space that parts them from the
// one before, in the languages that part sentences with one.
QString WriteInFailureText(const WriteInOutcome& outcome)
{
    if (outcome.noDevice)
        return QCoreApplication::translate(
            "Messages", "The foot switch was not written: no foot switch is connected.");

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
        text += QCoreApplication::translate("Messages",
                                            "\n\nThe foot switch did not take the settings in time.");
    else if (outcome.error != 0) {
        // The platform's own code is worth quoting; errno's number is not.
        const SystemErrorWords words = DescribeSystemError(outcome.error, outcome.nativeError);
        text += QCoreApplication::translate("Messages", "\n\nThe system reported: %1")
                    .arg(words.nativeCode ? SystemErrorWithCode(words) : words.text + QLatin1Char('.'));
        if (!words.cause.isEmpty())
            text += QLatin1Char(' ') + words.cause;
    }
    return text + SerialLine(outcome);
}

}  // namespace app
