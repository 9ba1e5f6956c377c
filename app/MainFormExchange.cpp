// Read-out and write-in: the reports sent to the pedal, the decoding of its
// answers, and the write-in's closing message. The reports go out paced,
// from the event loop (MainFormPacing.cpp has the rules).
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cerrno>
#include <string>
#include <vector>

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
    std::vector<int> rows;
    for (int pedal = 0; pedal < count; ++pedal)
        rows.push_back(pedal);
    ReadOut(rows);
    // No waiting for the answers: HidCtlDeviceData decodes them as they come.
}

void TMainForm::ReadOut(const std::vector<int>& rows)
{
    // One read request per row, in the order given; a failed write shows in
    // the history only.
    protocol::ExchangeQueue::Exchange readOut = ExchangeWithCurrentDevice(protocol::ExchangeKind::ReadOut);
    for (int row : rows)
        readOut.reports.push_back(protocol::BuildReadRequest(row));
    hid::THidDevice* device = CurrentDevice;
    readOut.send = [this, device, send = std::move(readOut.send)](const protocol::PedalReport& report,
                                                                 int& error) {
        const bool sent = send(report, error);
        if (sent && device == CurrentDevice)
            rowStates_.RequestSent(report[2], protocol::RowStates::Clock::now());
        return sent;
    };
    if (device != nullptr) {
        readOut.done = [this, pedal = device->PnPInfo().DeviceInstance,
                        rows](const protocol::ExchangeResult& result) {
            if (!result.cut)
                return;
            std::vector<int> cut;
            for (int report : result.failed)
                cut.push_back(rows[static_cast<std::size_t>(report)]);
            CarryOverReadOut(pedal, std::move(cut));
        };
    }
    pacer_->Add(std::move(readOut));
}

void TMainForm::CarryOverReadOut(hid::platform::DeviceInstanceId pedal, std::vector<int> rows)
{
    // The device object went with a rescan. When the same pedal is current
    // again, it is asked for what was cut, and for the rows whose answers
    // the old object took with it.
    if (!IsUsable(CurrentDevice) || CurrentDevice->PnPInfo().DeviceInstance != pedal)
        return;
    for (int row = 0; row < PedalCount(); ++row)
        if (!rowStates_.Known(row) && std::find(rows.begin(), rows.end(), row) == rows.end())
            rows.push_back(row);
    std::erase_if(rows, [this](int row) { return row >= PedalCount(); });
    std::sort(rows.begin(), rows.end());
    if (!rows.empty())
        ReadOut(rows);
}

void TMainForm::ForgetRows()
{
    rowStates_.Reset();
}

void TMainForm::HidCtlDeviceData(hid::THidDevice* HidDev, std::uint8_t ReportID,
                                 const std::uint8_t* Data, std::uint16_t Size)
{
    const protocol::PedalAnswer answer = protocol::DecodeInputReport(ReportID, Data, Size);
    // Only logged: an answer for a pedal the table has no row for, one from
    // a device other than the pedal read-outs address (a late answer of the
    // pedal chosen before), and one that may not change its row: it answers
    // a request sent before the row was set or written, or the row is being
    // written in.
    if (answer.isConfigAnswer && protocol::PedalConfigTable::IsRow(answer.pedalIndex) &&
        HidDev == CurrentDevice) {
        ReadPending = false;
        Timer1->stop();
        if (rowStates_.AnswerArrived(answer.pedalIndex, protocol::RowStates::Clock::now())) {
            if (const std::string_view version = protocol::VersionText(answer.versionCode);
                !version.empty())
                RzLabel5->setText(
                    QString::fromLatin1(version.data(), static_cast<qsizetype>(version.size())));
            protocol::StoreAnswer(PedalConfigTable, answer, naming_);
            Edit2->setText(QString::fromStdString(PedalConfigTable.JoinedCodeText(answer.pedalIndex)));
            // The selected pedal's text, whichever pedal answered; setting the
            // key edit box runs its change handler.
            const QString shown =
                QString::fromStdString(PedalConfigTable.KeyText(RzTabControl1->currentIndex()));
            RzEdit1->setText(shown);
            Edit1->setText(shown);
        }
    }
    AppendHistory(QString::fromStdString(protocol::ReceivedHistoryLine(ReportID, Data, Size)));
}

void TMainForm::RzBitBtn1Click()
{
    RefreshCurrentDevice();
    const int count = PedalCount();
    WriteInOutcome outcome;
    outcome.noDevice = CurrentDevice == nullptr;
    outcome.pedalCount = count;
    if (CurrentDevice != nullptr)
        outcome.serial = QString::fromStdU16String(CurrentDevice->SerialText());
    // One write report per pedal, from the table as the window shows it now;
    // a row that was neither read out nor set is left out, not written as
    // zeros. (To a pedal that cannot be opened nothing goes at all: its
    // writes fail, with the reason.)
    protocol::ExchangeQueue::Exchange writeIn = ExchangeWithCurrentDevice(protocol::ExchangeKind::WriteIn);
    std::vector<int> rows;
    for (int pedal = 0; pedal < count; ++pedal) {
        if (IsUsable(CurrentDevice) && !rowStates_.Known(pedal)) {
            outcome.unreadPedals.push_back(pedal + 1);
            continue;
        }
        rows.push_back(pedal);
        writeIn.reports.push_back(protocol::BuildWriteReport(PedalConfigTable, pedal));
    }
    if (rows.empty()) {
        ShowWriteInOutcome(outcome);
        return;
    }
    hid::THidDevice* device = CurrentDevice;
    // As each report goes, its four configuration bytes show in Write3..Write6.
    writeIn.send = [this, device, send = std::move(writeIn.send)](const protocol::PedalReport& report,
                                                                 int& error) {
        const std::array<QLineEdit*, 4> shownBytes{Write3, Write4, Write5, Write6};
        for (std::size_t i = 0; i < shownBytes.size(); ++i)
            shownBytes[i]->setText(QString::fromStdString(protocol::HexByteText(report[3 + i])));
        if (device == CurrentDevice)
            rowStates_.WriteSent(report[2]);
        return send(report, error);
    };
    for (int row : rows)
        rowStates_.WriteQueued(row);
    writeIn.done = [this, outcome, rows](const protocol::ExchangeResult& result) mutable {
        for (int row : rows)
            rowStates_.WriteEnded(row);
        for (int report : result.failed)
            outcome.failedPedals.push_back(rows[static_cast<std::size_t>(report)] + 1);
        std::sort(outcome.failedPedals.begin(), outcome.failedPedals.end());
        // Cut short: the pedal went before the rest could be sent.
        const bool cut = result.error == 0 && result.cut;
        outcome.error = cut ? ENODEV : result.error;
        outcome.nativeError = cut ? 0 : result.nativeError;
        ReleaseControlsAfterWriteIn();
        RunDeferredDeviceChange();
        if (!CloseAfterWriteIn(outcome))
            ShowWriteInOutcome(outcome);
    };
    pacer_->Add(std::move(writeIn));
    HoldControlsForWriteIn();
}

void TMainForm::ShowWriteInOutcome(const WriteInOutcome& outcome)
{
    // Success is confirmed as ever; a write-in that did not reach the pedal
    // says so instead of claiming it is done.
    if (outcome.Succeeded())
        Messages().Show(this, QMessageBox::Warning, WriteInCaption(), WriteInDoneText(outcome),
                        QMessageBox::Ok);
    else
        Messages().Show(this, QMessageBox::Critical, WriteInCaption(), WriteInFailureText(outcome),
                        QMessageBox::Ok);
}

}  // namespace app
