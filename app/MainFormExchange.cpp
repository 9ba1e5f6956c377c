// Read-out and write-in: the reports sent to the pedal, the decoding of its
// answers, the check that reads a write-in back, and the write-in's closing
// message. The reports go out paced, from the event loop (MainFormPacing.cpp
// has the rules).
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
#include "protocol/AnswerDisplayText.h"
#include "protocol/PedalAnswer.h"

namespace app {
namespace {

// An assignment's display text, as a read-out would show it.
QString ShownName(const protocol::AssignmentBytes& bytes, const keys::KeyNaming& naming)
{
    protocol::PedalAnswer answer;
    answer.isConfigAnswer = true;
    answer.modifiers = bytes[0];
    for (std::size_t key = 0; key < 3; ++key)
        answer.keys[key] = bytes[key + 1];
    return QString::fromStdString(protocol::AnswerDisplayText(answer, naming));
}

}  // namespace

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
    readOut.send = [this, device](const protocol::PedalReport& report, int& error) {
        if (device != CurrentDevice)
            return SendReport(device, report, error);
        // A request that could not be written is answered by nothing.
        const int row = report[2];
        const protocol::RowStates::RequestId id = rowStates_.RequestSent(row, protocol::RowStates::Clock::now());
        const auto lost = [this, row, id] { rowStates_.RequestLost(row, id); };
        const bool sent = SendReport(device, report, error, lost);
        if (!sent)
            lost();
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
    pedalHolds_.fill(std::nullopt);
    HidePedalPress();
}

void TMainForm::HidCtlDeviceData(hid::THidDevice* HidDev, std::uint8_t ReportID,
                                 const std::uint8_t* Data, std::uint16_t Size)
{
    if (std::find(pedalKeyboards_.begin(), pedalKeyboards_.end(), HidDev) != pedalKeyboards_.end()) {
        PedalKeyboardReport(HidDev, Data, Size);
        return;
    }
    const protocol::PedalAnswer answer = protocol::DecodeInputReport(ReportID, Data, Size);
    // Only logged: an answer for a pedal the table has no row for, one from
    // a device other than the pedal read-outs address (a late answer of the
    // pedal chosen before), and one that may not change its row: it answers
    // a request sent before the row was set or written, or the row is being
    // written in (the answer to the check of that write aside).
    if (answer.isConfigAnswer && protocol::PedalConfigTable::IsRow(answer.pedalIndex) &&
        HidDev == CurrentDevice) {
        ReadPending = false;
        Timer1->stop();
        const protocol::RowStates::Answer use =
            rowStates_.AnswerArrived(answer.pedalIndex, protocol::RowStates::Clock::now());
        if (use != protocol::RowStates::Answer::Ignored) {
            if (const std::string_view version = protocol::VersionText(answer.versionCode);
                !version.empty())
                RzLabel5->setText(
                    QString::fromLatin1(version.data(), static_cast<qsizetype>(version.size())));
            protocol::StoreAnswer(PedalConfigTable, answer, naming_);
            pedalHolds_[answer.pedalIndex] =
                protocol::AssignmentBytes{answer.modifiers, answer.keys[0], answer.keys[1], answer.keys[2]};
            Edit2->setText(QString::fromStdString(PedalConfigTable.JoinedCodeText(answer.pedalIndex)));
            // The selected pedal's text, whichever pedal answered; setting the
            // key edit box runs its change handler.
            const QString shown =
                QString::fromStdString(PedalConfigTable.KeyText(RzTabControl1->currentIndex()));
            RzEdit1->setText(shown);
            Edit1->setText(shown);
        }
        // The write-in's end, with its box, runs from the event loop, after
        // this answer's history line.
        if (use == protocol::RowStates::Answer::ReadBack &&
            readBack_.Answered(answer.pedalIndex,
                               {answer.modifiers, answer.keys[0], answer.keys[1], answer.keys[2]}))
            QTimer::singleShot(0, this, [this] { pacer_->CheckAnswers(); });
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
    // Then each pedal written is read back with the usual read request. The
    // write-in holds the queue until every answer is in (kReadBackLimit at
    // most), so nothing else reaches the pedal in between.
    std::vector<protocol::AssignmentBytes> written;
    for (const protocol::PedalReport& report : writeIn.reports)
        written.push_back({report[3], report[4], report[5], report[6]});
    for (int row : rows)
        writeIn.reports.push_back(protocol::BuildReadRequest(row));
    hid::THidDevice* device = CurrentDevice;
    const std::string path = device != nullptr ? device->DevicePath() : std::string();
    // As each write report goes, its four configuration bytes show in
    // Write3..Write6.
    writeIn.send = [this, device, rows, written, send = std::move(writeIn.send)](
                       const protocol::PedalReport& report, int& error) {
        if (report[1] == protocol::kWriteCommand) {
            const std::array<QLineEdit*, 4> shownBytes{Write3, Write4, Write5, Write6};
            for (std::size_t i = 0; i < shownBytes.size(); ++i)
                shownBytes[i]->setText(QString::fromStdString(protocol::HexByteText(report[3 + i])));
            if (device == CurrentDevice)
                rowStates_.WriteSent(report[2]);
            return send(report, error);
        }
        // The read request that checks a write. One that could not be
        // written is answered by nothing.
        if (device != CurrentDevice)
            return SendReport(device, report, error);
        const int row = report[2];
        const auto index = static_cast<std::size_t>(std::find(rows.begin(), rows.end(), row) - rows.begin());
        const protocol::RowStates::RequestId id = rowStates_.CheckSent(row, protocol::RowStates::Clock::now());
        readBack_.Asked(row, written[index]);
        const auto lost = [this, row, id] {
            rowStates_.RequestLost(row, id);
            readBack_.NotAsked(row);
        };
        const bool sent = SendReport(device, report, error, lost);
        if (!sent)
            lost();
        return sent;
    };
    // A pedal that went answers nothing more.
    writeIn.awaitsAnswers = [this, path] {
        return readBack_.Waiting() && !(deviceChangeDeferred_ && !StillAttached(path));
    };
    for (int row : rows)
        rowStates_.WriteQueued(row);
    writeIn.done = [this, outcome, rows, written, path](const protocol::ExchangeResult& result) mutable {
        for (int row : rows)
            rowStates_.WriteEnded(row);
        std::vector<bool> sent(rows.size(), true);
        for (int report : result.failed) {
            const auto index = static_cast<std::size_t>(report);
            if (index < rows.size()) {
                sent[index] = false;
                outcome.failedPedals.push_back(rows[index] + 1);
            }
        }
        std::sort(outcome.failedPedals.begin(), outcome.failedPedals.end());
        // Cut short: the pedal went before the rest could be sent.
        const bool cut = result.error == 0 && result.cut;
        outcome.error = cut ? ENODEV : result.error;
        outcome.nativeError = cut ? 0 : result.nativeError;
        CheckReadBack(outcome, rows, sent, written, path);
        ReleaseControlsAfterWriteIn();
        RunDeferredDeviceChange();
        if (!CloseAfterWriteIn(outcome))
            ShowWriteInOutcome(outcome);
    };
    pacer_->Add(std::move(writeIn));
    HoldControlsForWriteIn();
}

void TMainForm::CheckReadBack(WriteInOutcome& outcome, const std::vector<int>& rows,
                              const std::vector<bool>& sent,
                              const std::vector<protocol::AssignmentBytes>& written, const std::string& path)
{
    // Each pedal whose write report went is held against its answer; one
    // whose write failed is told as such already.
    const std::vector<protocol::ReadBackCheck::Pedal> checked = readBack_.Take();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (!sent[i])
            continue;
        const auto answer = std::find_if(checked.begin(), checked.end(), [&](const auto& pedal) {
            return pedal.row == rows[i] && pedal.held;
        });
        if (answer == checked.end())
            outcome.unconfirmedPedals.push_back(rows[i] + 1);
        else if (!answer->Holds())
            outcome.differences.push_back({rows[i] + 1, ShownName(*answer->held, naming_),
                                           ShownName(written[i], naming_), *answer->held, written[i]});
    }
    // Unanswered because the pedal went: the write-in fails as an unplug does.
    if (!outcome.unconfirmedPedals.empty() && outcome.error == 0 && deviceChangeDeferred_ &&
        !StillAttached(path))
        outcome.error = ENODEV;
}

void TMainForm::ShowWriteInOutcome(const WriteInOutcome& outcome)
{
    // Success is confirmed as ever; a write-in that did not reach the pedal,
    // or that the pedal does not hold, says so instead of claiming it is
    // done. A pedal that did not answer the check is not confirmed, which is
    // no failure to write.
    if (outcome.Succeeded())
        Messages().Show(this, QMessageBox::Warning, WriteInCaption(), WriteInDoneText(outcome),
                        QMessageBox::Ok);
    else
        Messages().Show(this, outcome.OnlyUnconfirmed() ? QMessageBox::Warning : QMessageBox::Critical,
                        WriteInCaption(), WriteInFailureText(outcome), QMessageBox::Ok);
}

}  // namespace app
