#include "app/ErrorBox.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "app/MessageSink.h"

namespace app {

QString ErrorBoxText(const QString& message)
{
    if (message.isEmpty())
        return message;
    char32_t last = message.back().unicode();
    const qsizetype size = message.size();
    if (size >= 2 && message.at(size - 1).isLowSurrogate() && message.at(size - 2).isHighSurrogate())
        last = QChar::surrogateToUcs4(message.at(size - 2), message.at(size - 1));
    return last > U'.' ? message + QLatin1Char('.') : message;
}

QString ApplicationTitle()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

void ShowErrorBox(MessageSink& sink, QWidget* owner, const QString& message)
{
    sink.Show(owner, QMessageBox::Critical, ApplicationTitle(), ErrorBoxText(message),
              QMessageBox::Ok);
}

}  // namespace app
