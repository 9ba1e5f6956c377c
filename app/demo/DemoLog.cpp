#include "app/demo/DemoLog.h"

#include <cstdio>
#include <mutex>
#include <string>

#include "protocol/HexText.h"

namespace app::demo {

void LogLine(const QString& line)
{
    static std::mutex mutex;
    const QByteArray utf8 = line.toUtf8() + '\n';
    const std::lock_guard<std::mutex> lock(mutex);
    std::fwrite(utf8.constData(), 1, static_cast<std::size_t>(utf8.size()), stdout);
    std::fflush(stdout);
}

void LogReport(bool answer, const std::uint8_t* data, std::size_t length)
{
    std::string bytes;
    for (std::size_t i = 0; i < length; ++i) {
        if (i > 0)
            bytes += ' ';
        protocol::AppendHexByte(bytes, data[i]);
    }
    LogLine((answer ? QStringLiteral("pedal answered: ") : QStringLiteral("pedal received: ")) +
            QString::fromStdString(bytes));
}

QMessageBox::StandardButton LoggingMessageSink::Show(QWidget* owner, QMessageBox::Icon icon,
                                                     const QString& title, const QString& text,
                                                     QMessageBox::StandardButtons buttons)
{
    LogLine(QStringLiteral("message box \"%1\": %2").arg(title, text));
    return shown_->Show(owner, icon, title, text, buttons);
}

}  // namespace app::demo
