// Qt's file dialogs for profiles: the file to open (an existing one) or to
// save to (".json" added when no suffix is typed; replacing a file is asked).
#pragma once

#include <QString>

class QWidget;

namespace app {

// The file chosen; empty when the dialog was cancelled.
QString ChooseProfileFile(QWidget* parent, bool save, const QString& folder);

}  // namespace app
