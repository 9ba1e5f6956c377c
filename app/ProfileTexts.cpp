#include "app/ProfileTexts.h"

#include <QCoreApplication>

namespace app {

QString OpenProfileActionText() { return QCoreApplication::translate("Profiles", "Open profile…"); }
QString SaveProfileActionText() { return QCoreApplication::translate("Profiles", "Save profile…"); }
QString OpenProfileCaption() { return QCoreApplication::translate("Profiles", "Open profile"); }
QString SaveProfileCaption() { return QCoreApplication::translate("Profiles", "Save profile"); }
QString ProfileFileFilter() { return QCoreApplication::translate("Profiles", "Pedal profiles (*.json)"); }
QString ProfileBoxCaption() { return QCoreApplication::translate("Profiles", "Profile"); }

QString NoPedalReason() { return QCoreApplication::translate("Profiles", "no foot switch is connected."); }
QString WriteInReason() { return QCoreApplication::translate("Profiles", "a write-in is under way."); }
QString NotAnsweredReason() { return QCoreApplication::translate("Profiles", "the foot switch has not answered the read-out yet."); }

QString ProfileOpenBlockedText(const QString& reason)
{
    return QCoreApplication::translate("Profiles", "A profile cannot be opened now:\n%1").arg(reason);
}

QString ProfileSaveBlockedText(const QString& reason)
{
    return QCoreApplication::translate("Profiles", "A profile cannot be saved now:\n%1").arg(reason);
}

QString ProfileUnreadableText(const QString& file, const QString& reason)
{
    return QCoreApplication::translate("Profiles", "The profile could not be read.\n\n%1\n%2").arg(file, reason);
}

QString ProfileTooLargeReason(qint64 limit)
{
    return QCoreApplication::translate("Profiles", "The file is larger than %1 bytes; it is no profile.").arg(limit);
}

QString ProfileRefusedText(const QString& file, const QString& error)
{
    return QCoreApplication::translate("Profiles", "The profile was not opened; nothing was changed.\n\n%1\n%2").arg(file, error);
}

QString ProfileOtherPedalQuestion(const QString& file, const QString& fileSerial, const QString& pedalSerial,
                                  int fileCount, int pedalCount)
{
    QString text = QCoreApplication::translate("Profiles", "This profile was saved for another foot switch.\n\n%1\n").arg(file);
    if (!fileSerial.isEmpty() && fileSerial != pedalSerial)
        text += QCoreApplication::translate("Profiles", "It was saved from SN:%1; the foot switch here is SN:%2.\n")
                    .arg(fileSerial, pedalSerial);
    if (fileCount != pedalCount)
        text += QCoreApplication::translate("Profiles", "It holds %1 pedal(s); %2 are set here. Opening it sets %1.\n")
                    .arg(fileCount)
                    .arg(pedalCount);
    return text + QCoreApplication::translate("Profiles", "\nReplace the assignments shown with the profile's?");
}

QString ProfileNotSavedText(const QString& pedals)
{
    return QCoreApplication::translate("Profiles", "The profile was not saved.\n\nPedal %1 has not been read out yet: its assignment "
                          "is not known. Save again once the foot switch has answered.")
        .arg(pedals);
}

QString ProfileSaveFailedText(const QString& file, const QString& reason)
{
    return QCoreApplication::translate("Profiles", "The profile could not be saved.\n\n%1\n%2\n\nA file that was there is left as it "
                          "was.")
        .arg(file, reason);
}

}  // namespace app
