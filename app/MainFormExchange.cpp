// Read-out and write-in: the reports sent to the pedal, the decoding of its
// answers, and the write-in's closing message. The reports go out paced,
// from the event loop (MainFormPacing.cpp has the rules).
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

#include <array>
#include <cerrno>
#include <string>

#include "app/MainForm.h"
#include "app/MessageSink.h"
#include "app/ReportPacer.h"
#include "app/TabControl.h"
#include "app/WriteInOutcome.h"
#include "protocol/AnswerStore.h"
#include "protocol/HexText.h"
#include "protocol/HistoryLine.h"
#include "protocol/PedalAnswer.h"

namespace app {

void TMainForm::RzBitBtn2Click()
{
    RefreshCurrentDevice();
    const int count = PedalCount();
    if (count < 1)
        return;
    // One read request per pedal, in pedal order; a failed write shows in
    // the history only.
    protocol::ExchangeQueue::Exchange readOut = ExchangeWithCurrentDevice(protocol::ExchangeKind::ReadOut);
    for (int pedal = 0; pedal < count; ++pedal)
        readOut.reports.push_back(protocol::BuildReadRequest(pedal));
    pacer_->Add(std::move(readOut));
    // No waiting for the answers: HidCtlDeviceData decodes them as they come.
}

void TMainForm::HidCtlDeviceData(hid::THidDevice* HidDev, std::uint8_t ReportID,
                                 const std::uint8_t* Data, std::uint16_t Size)
{
    const protocol::PedalAnswer answer = protocol::DecodeInputReport(ReportID, Data, Size);
    // Only logged: an answer for a pedal the table has no row for, one from
    // a device other than the pedal read-outs address (a late answer of the
    // pedal chosen before), and any answer while a write-in programs the
    // pedal with what the window shows.
    if (answer.isConfigAnswer && protocol::PedalConfigTable::IsRow(answer.pedalIndex) &&
        HidDev == CurrentDevice && !WriteInInFlight()) {
        ReadPending = false;
        Timer1->stop();
        if (const std::string_view version = protocol::VersionText(answer.versionCode);
            !version.empty())
            RzLabel5->setText(QString::fromLatin1(version.data(), static_cast<qsizetype>(version.size())));
        protocol::StoreAnswer(PedalConfigTable, answer, naming_);
        Edit2->setText(QString::fromStdString(PedalConfigTable.JoinedCodeText(answer.pedalIndex)));
        // The selected pedal's text, whichever pedal answered; setting the
        // key edit box runs its change handler.
        const QString shown =
            QString::fromStdString(PedalConfigTable.KeyText(RzTabControl1->currentIndex()));
        RzEdit1->setText(shown);
        Edit1->setText(shown);
    }
    AppendHistory(QString::fromStdString(protocol::ReceivedHistoryLine(ReportID, Data, Size)));
}

void TMainForm::RzBitBtn1Click()
{
    RefreshCurrentDevice();
    const int count = PedalCount();
    // One write report per pedal, from the table as the window shows it now.
    protocol::ExchangeQueue::Exchange writeIn = ExchangeWithCurrentDevice(protocol::ExchangeKind::WriteIn);
    for (int pedal = 0; pedal < count; ++pedal)
        writeIn.reports.push_back(protocol::BuildWriteReport(PedalConfigTable, pedal));
    // As each report goes, its four configuration bytes show in Write3..Write6.
    writeIn.send = [this, send = std::move(writeIn.send)](const protocol::PedalReport& report,
                                                          int& error) {
        const std::array<QLineEdit*, 4> shownBytes{Write3, Write4, Write5, Write6};
        for (std::size_t i = 0; i < shownBytes.size(); ++i)
            shownBytes[i]->setText(QString::fromStdString(protocol::HexByteText(report[3 + i])));
        return send(report, error);
    };
    WriteInOutcome outcome;
    outcome.noDevice = CurrentDevice == nullptr;
    outcome.pedalCount = count;
    writeIn.done = [this, outcome](const protocol::ExchangeResult& result) mutable {
        for (int report : result.failed)
            outcome.failedPedals.push_back(report + 1);
        // Cut short: the pedal went before the rest could be sent.
        outcome.error = result.error == 0 && result.cut ? ENODEV : result.error;
        RunDeferredDeviceChange();
        ShowWriteInOutcome(outcome);
    };
    pacer_->Add(std::move(writeIn));
}

void TMainForm::ShowWriteInOutcome(const WriteInOutcome& outcome)
{
    // Success is confirmed as ever; a write-in that did not reach the pedal
    // says so instead of claiming it is done.
    if (outcome.Succeeded())
        Messages().Show(this, QMessageBox::Warning, WriteInCaption(), WriteInDoneText(),
                        QMessageBox::Ok);
    else
        Messages().Show(this, QMessageBox::Critical, WriteInCaption(), WriteInFailureText(outcome),
                        QMessageBox::Ok);
}

}  // namespace app
