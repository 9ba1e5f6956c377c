// The window's side of the paced sends to the pedal.
//
// Every report goes through the pacer: one report, then 50 ms, then the
// next (after the last report too), sent from the event loop, so the window
// keeps serving events meanwhile. The write itself runs on the writer's
// thread and ends within the platform's time limit; the next report waits
// for it. Exchanges never interleave, and each one
// addresses the device that was current when it was asked for.
//
// A write-in sends what the window showed when "Write in" was clicked, then
// reads each pedal written back, and until those answers are in (or
// kReadBackLimit is up) the window shows nothing but them: other
// configuration answers are only logged, and the key edit box takes no new
// combination. A device change that shows the pedal gone ends the wait at
// once. Meanwhile a read-out (Timer1, "Read out", the count, the
// pedal choice) waits behind it, unless the same read-out is already
// waiting; the diagnostic write and another write-in wait behind it too; a
// device change is handled once it has ended, and so is a close of the
// window: a pedal is never left half written.
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTimer>

#include <chrono>
#include <initializer_list>
#include <utility>

#include "app/MainForm.h"
#include "app/ReportPacer.h"
#include "app/TabControl.h"
#include "app/WriteInOutcome.h"
#include "hid/ReportWriter.h"
#include "hid/THidDevice.h"
#include "protocol/HistoryLine.h"

namespace app {

// The only pacing of an exchange: a pause after each report, the last too.
const std::chrono::milliseconds TMainForm::kReportPause{50};
const std::chrono::milliseconds TMainForm::kReadBackLimit{1500};

bool TMainForm::SendReport(hid::THidDevice* device, const protocol::PedalReport& report, int& error,
                           std::function<void()> failed)
{
    error = 0;
    if (device == nullptr) {
        AppendHistory(QString::fromStdString(protocol::SentHistoryLine(report, 0)));
        return false;
    }
    // The write runs on the writer's thread; the history line and the
    // outcome follow once it ended.
    pacer_->Writer(HidQueue).Write(*device, std::vector<std::uint8_t>(report.begin(), report.end()),
                   [this, report, ended = pacer_->WriteUnderWay(),
                    failed = std::move(failed)](const hid::ReportWriter::Outcome& outcome) {
                       AppendHistory(QString::fromStdString(protocol::SentHistoryLine(report, outcome.written)));
                       if (!outcome.ok && failed)
                           failed();
                       ended(outcome.ok, outcome.error, outcome.nativeError);
                   });
    return true;
}

protocol::ExchangeQueue::Exchange TMainForm::ExchangeWithCurrentDevice(protocol::ExchangeKind kind)
{
    // The device is fixed now; the pacer drops the exchange before the
    // device is given back.
    hid::THidDevice* device = CurrentDevice;
    protocol::ExchangeQueue::Exchange exchange;
    exchange.kind = kind;
    exchange.target = device;
    exchange.send = [this, device](const protocol::PedalReport& report, int& error) {
        return SendReport(device, report, error);
    };
    return exchange;
}

void TMainForm::GiveBack(hid::THidDevice* device)
{
    if (device == nullptr)
        return;
    pacer_->Forget(device);
    delete device;
}

bool TMainForm::DeferDeviceChange()
{
    if (!WriteInInFlight())
        return false;
    deviceChangeDeferred_ = true;
    // The write-in may be waiting for a pedal that went.
    if (pacer_->AwaitingAnswers())
        QTimer::singleShot(0, this, [this] { pacer_->CheckAnswers(); });
    return true;
}

bool TMainForm::StillAttached(const std::string& path) const
{
    if (!HidCtl.Loaded())
        return true;
    const std::unique_ptr<hid::platform::Snapshot> present = HidCtl.Backend().GetPresentInterfaces();
    if (present == nullptr)
        return true;
    hid::platform::InterfaceDetail detail;
    for (std::uint32_t index = 0; present->EnumDeviceInterface(index, detail); ++index)
        if (detail.DevicePath == path)
            return true;
    return false;
}

void TMainForm::RunDeferredDeviceChange()
{
    if (!std::exchange(deviceChangeDeferred_, false))
        return;
    QTimer::singleShot(0, this, [this] { HidCtlDeviceChange(&HidCtl); });
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    if (WriteInInFlight()) {
        closeAfterWriteIn_ = true;
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void TMainForm::HoldControlsForWriteIn()
{
    if (!heldControls_.empty())
        return;
    for (QWidget* control : std::initializer_list<QWidget*>{CBox, RzSpinEdit1, RzBitBtn1, RzBitBtn2}) {
        if (control->isEnabled()) {
            control->setEnabled(false);
            heldControls_.push_back(control);
        }
    }
    UpdateCaptureSign();
}

void TMainForm::ReleaseControlsAfterWriteIn()
{
    if (WriteInInFlight())
        return;
    for (QWidget* control : std::exchange(heldControls_, {}))
        control->setEnabled(true);
    UpdateCaptureSign();
}

bool TMainForm::CloseAfterWriteIn(const WriteInOutcome& outcome)
{
    if (!closeAfterWriteIn_ || WriteInInFlight())
        return false;
    closeAfterWriteIn_ = false;
    // The user is leaving: no confirmation, but a failure is still told.
    if (!outcome.Succeeded())
        ShowWriteInOutcome(outcome);
    close();
    return true;
}

bool TMainForm::ExchangesPending() const
{
    return !pacer_->Idle();
}

bool TMainForm::WriteInInFlight() const
{
    return pacer_->HoldsWriteIn();
}

void TMainForm::KeepShownAssignment()
{
    const QSignalBlocker quiet(RzEdit1);
    RzEdit1->setText(QString::fromStdString(PedalConfigTable.KeyText(RzTabControl1->currentIndex())));
}

}  // namespace app
