// Every text of the window's profile files: menu entries, dialogs, questions
// and errors. Each box starts with a fixed line of its own, so that names
// taken from a file never make it read as rich text.
#pragma once

#include <QString>

namespace app {

QString OpenProfileActionText();
QString SaveProfileActionText();
QString OpenProfileCaption();
QString SaveProfileCaption();
// The file dialogs' filter.
QString ProfileFileFilter();
// Caption of the profile boxes.
QString ProfileBoxCaption();

// Why no profile can be opened just now.
QString NoPedalReason();
QString WriteInReason();
QString NotAnsweredReason();
QString ProfileOpenBlockedText(const QString& reason);
QString ProfileSaveBlockedText(const QString& reason);

QString ProfileUnreadableText(const QString& file, const QString& reason);
QString ProfileTooLargeReason(qint64 limit);
// The file was read but refused; `error` names the line and the key.
QString ProfileRefusedText(const QString& file, const QString& error);
// Asked before a profile of another pedal or pedal count replaces the table;
// an empty serial is not named.
QString ProfileOtherPedalQuestion(const QString& file, const QString& fileSerial, const QString& pedalSerial,
                                  int fileCount, int pedalCount);

// Pedals (1-based) of the count that hold nothing known yet.
QString ProfileNotSavedText(const QString& pedals);
QString ProfileSaveFailedText(const QString& file, const QString& reason);

}  // namespace app
