// What the demo tells on its standard output, one line each, so that a user
// (or a test) can follow the simulated pedal without the device:
//   pedal received: 02 02 00 01 04 00 00 00    a report written to the pedal
//   pedal answered: 02 81 00 01 04 00 00 00    its answer
//   key box: Ctrl+A                            the key edit box's new text
//   message box "Write in": Setup Done!        a message box, as it opens
// Lines are written whole and flushed at once (also from the writing thread).
#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "app/MessageSink.h"

namespace app::demo {

void LogLine(const QString& line);
void LogReport(bool answer, const std::uint8_t* data, std::size_t length);

// Shows each box through `shown` after logging it.
class LoggingMessageSink final : public MessageSink {
public:
    explicit LoggingMessageSink(std::unique_ptr<MessageSink> shown) : shown_(std::move(shown)) {}
    QMessageBox::StandardButton Show(QWidget* owner, QMessageBox::Icon icon, const QString& title,
                                     const QString& text,
                                     QMessageBox::StandardButtons buttons) override;

private:
    std::unique_ptr<MessageSink> shown_;
};

}  // namespace app::demo
