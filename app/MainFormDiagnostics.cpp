// The hidden diagnostic widgets: the report history and the raw write of the
// seven byte fields.
#include <QLineEdit>
#include <QListWidget>

#include <array>
#include <string>

#include "app/MainForm.h"
#include "app/ReportPacer.h"
#include "protocol/PedalReport.h"

namespace app {

void TMainForm::AppendHistory(const QString& line)
{
    // Bounded, so a device that floods answers cannot grow memory without
    // end: the oldest line goes first.
    if (HistoryListBox->count() >= kHistoryLimit)
        delete HistoryListBox->takeItem(0);
    HistoryListBox->addItem(line);
    HistoryListBox->setCurrentRow(HistoryListBox->count() - 1);
}

QLineEdit* TMainForm::WriteEdit(int i) const
{
    // Found by name in FormCreate; the same fields when it stopped earlier.
    const std::array<QLineEdit*, 8> members{nullptr, Write1, Write2, Write3, Write4,
                                            Write5,  Write6, Write7};
    return WriteEdits[i] != nullptr ? WriteEdits[i] : members[i];
}

void TMainForm::Button1Click()
{
    std::array<std::string, protocol::kDiagnosticFieldCount> fields;
    for (std::size_t i = 0; i < fields.size(); ++i)
        fields[i] = WriteEdit(static_cast<int>(i + 1))->text().toStdString();
    const protocol::PedalReport report = protocol::BuildDiagnosticReport(fields);
    for (std::size_t i = 0; i < fields.size(); ++i)
        WriteEdit(static_cast<int>(i + 1))->setText(QString::fromStdString(fields[i]));

    // Paced like every report, behind whatever is queued. Without a current
    // device nothing is sent; the history shows the head. Whether the write
    // succeeded is not reported.
    protocol::ExchangeQueue::Exchange write = ExchangeWithCurrentDevice(protocol::ExchangeKind::Diagnostic);
    write.reports.push_back(report);
    pacer_->Add(std::move(write));
}

}  // namespace app
