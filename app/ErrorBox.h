// The application's error box, as start-up failures are reported: error icon,
// OK button, the application's title, and the message with a full stop added
// when its last character sorts after ".".
#pragma once

#include <QString>

class QWidget;

namespace app {

class MessageSink;

// The message as the error box shows it. The last character is compared as
// a Unicode code point, so a text ending in a Chinese character or a letter
// gets the full stop and one ending in ".", "!" or ")" does not.
QString ErrorBoxText(const QString& message);

// The executable's file name without its extension.
QString ApplicationTitle();

void ShowErrorBox(MessageSink& sink, QWidget* owner, const QString& message);

}  // namespace app
