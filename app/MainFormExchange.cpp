// Read-out and write-in: the reports sent to the pedal, the decoding of its
// answers, and the write-in's closing message.
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

#include <chrono>
#include <string>
#include <thread>

#include "app/MainForm.h"
#include "app/MessageSink.h"
#include "app/TabControl.h"
#include "app/WriteInOutcome.h"
#include "hid/THidDevice.h"
#include "protocol/AnswerStore.h"
#include "protocol/HexText.h"
#include "protocol/HistoryLine.h"
#include "protocol/PedalAnswer.h"

namespace app {
namespace {

// The only pacing of an exchange: a pause after each report, the last too.
constexpr std::chrono::milliseconds kReportPause{50};

}  // namespace

bool TMainForm::SendReport(const protocol::PedalReport& report, int& error)
{
    std::uint32_t written = 0;   // stays 0 when the device cannot even be opened
    bool ok = false;
    if (CurrentDevice != nullptr) {
        ok = CurrentDevice->WriteReport(report.data(), static_cast<std::uint32_t>(report.size()),
                                        written);
        error = ok ? 0 : CurrentDevice->LastWriteError();
    } else {
        error = 0;
    }
    AppendHistory(QString::fromStdString(protocol::SentHistoryLine(report, written)));
    return ok && written == report.size();
}

void TMainForm::RzBitBtn2Click()
{
    RefreshCurrentDevice();
    const int count = PedalCount();
    if (count < 1)
        return;
    for (int pedal = 0; pedal < count; ++pedal) {
        int error = 0;
        SendReport(protocol::BuildReadRequest(pedal), error);   // failures: history only
        std::this_thread::sleep_for(kReportPause);
    }
    // The answers are decoded by HidCtlDeviceData once this handler returned.
}

void TMainForm::HidCtlDeviceData(hid::THidDevice*, std::uint8_t ReportID, const std::uint8_t* Data,
                                 std::uint16_t Size)
{
    const protocol::PedalAnswer answer = protocol::DecodeInputReport(ReportID, Data, Size);
    // An answer for a pedal the table has no row for is only logged.
    if (answer.isConfigAnswer && protocol::PedalConfigTable::IsRow(answer.pedalIndex)) {
        ReadPending = false;
        Timer1->stop();
        if (const std::string_view version = protocol::VersionText(answer.versionCode);
            !version.empty())
            RzLabel5->setText(QString::fromLatin1(version.data(), static_cast<qsizetype>(version.size())));
        protocol::StoreAnswer(PedalConfigTable, answer);
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
    WriteInOutcome outcome;
    outcome.noDevice = CurrentDevice == nullptr;
    outcome.pedalCount = PedalCount();
    const std::array<QLineEdit*, 4> shownBytes{Write3, Write4, Write5, Write6};
    for (int pedal = 0; pedal < outcome.pedalCount; ++pedal) {
        const protocol::PedalReport report = protocol::BuildWriteReport(PedalConfigTable, pedal);
        for (std::size_t i = 0; i < shownBytes.size(); ++i)
            shownBytes[i]->setText(QString::fromStdString(protocol::HexByteText(report[3 + i])));
        int error = 0;
        if (!SendReport(report, error)) {
            outcome.failedPedals.push_back(pedal + 1);
            if (outcome.error == 0)
                outcome.error = error;
        }
        std::this_thread::sleep_for(kReportPause);
    }
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
