#include "app/WriteInOutcome.h"

#include <QStringList>

#include <cerrno>
#include <cstring>

#include "app/AccessAdvice.h"

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

QString WriteInDoneText()
{
    return QStringLiteral("Setup Done!");
}

QString WriteInFailureText(const WriteInOutcome& outcome)
{
    if (outcome.noDevice)
        return QStringLiteral("The foot switch was not written: no foot switch is connected.");

    const bool none = static_cast<int>(outcome.failedPedals.size()) >= outcome.pedalCount;
    QString text = none ? QStringLiteral("The foot switch was not written: ")
                        : QStringLiteral("The foot switch was not fully written: ");
    text += (outcome.failedPedals.size() == 1 ? QStringLiteral("the setting of ")
                                              : QStringLiteral("the settings of ")) +
            PedalList(outcome.failedPedals) + QStringLiteral(" could not be sent.");
    if (!none)
        text += QStringLiteral(" The other pedals were written.");

    if (IsAccessRefusal(outcome.error))
        text += QStringLiteral("\n\n") + GrantAccessHint();
    else if (outcome.error == ETIMEDOUT)
        text += QStringLiteral("\n\nThe foot switch did not take the settings in time.");
    else if (outcome.error != 0)
        text += QStringLiteral("\n\nThe system reported: ") +
                QString::fromLocal8Bit(std::strerror(outcome.error)) + QLatin1Char('.');
    return text;
}

}  // namespace app
