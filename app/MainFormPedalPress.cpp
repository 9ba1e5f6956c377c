// The live pedal test: the pedal's own keystrokes, read from its keyboard
// collection, tell which pedal was pressed. The window names it and what it
// typed, and selects its tab; the key capture does not take those keys.
//
// A press is told by what each pedal answered it holds (read out or read
// back), never by the table, which may hold changes not yet written in.
#include <algorithm>

#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QStringList>
#include <QTimer>

#include "app/MainForm.h"
#include "app/PedalKeyboardInput.h"
#include "app/TabControl.h"
#include "hid/THidDevice.h"
#include "protocol/AnswerDisplayText.h"

namespace app {

const std::chrono::milliseconds TMainForm::kPedalKeyPairing{300};
const std::chrono::milliseconds TMainForm::kPedalSignTime{6000};

void TMainForm::StartPedalKeyboardInput()
{
    pedalSignTimer_ = new QTimer(this);
    pedalSignTimer_->setSingleShot(true);
    connect(pedalSignTimer_, &QTimer::timeout, this, [this] { HidePedalPress(); });
    pedalKeyboardInput_ =
        PedalKeyboardInput::Install(*this, [this](const protocol::HeldKeys& held) { PedalKeysHeld(held); });
}

bool TMainForm::IsPedalKeyboardOf(hid::THidDevice* keyboard, hid::THidDevice* pedal) const
{
    if (keyboard == nullptr || pedal == nullptr)
        return false;
    // One USB device: the same serial number on both interfaces. Without
    // one, the keyboard counts for the pedal when no other pedal is listed.
    const std::u16string serial = pedal->SerialText();
    if (!serial.empty() && !keyboard->SerialText().empty())
        return serial == keyboard->SerialText();
    return ListedPedals().size() <= 1;
}

void TMainForm::PedalKeyboardReport(hid::THidDevice* device, const std::uint8_t* data, std::uint16_t size)
{
    if (!IsPedalKeyboardOf(device, CurrentDevice))
        return;
    if (const std::optional<protocol::HeldKeys> held = protocol::DecodeKeyboardReport(data, size))
        PedalKeysHeld(*held);
}

void TMainForm::PedalKeysHeld(const protocol::HeldKeys& held)
{
    if (const std::optional<protocol::Keystroke> press =
            pedalPresses_.Update(held, std::chrono::steady_clock::now()))
        ShowPedalPress(*press);
}

void TMainForm::ShowPedalPress(const protocol::Keystroke& keystroke)
{
    if (CurrentDevice == nullptr)
        return;
    const std::vector<std::optional<protocol::AssignmentBytes>> holds(pedalHolds_.begin(), pedalHolds_.end());
    const std::vector<int> pedals = protocol::PedalsTyping(keystroke, holds);
    const protocol::AssignmentBytes bytes = protocol::AssignmentOf(keystroke);
    protocol::PedalAnswer answer;
    answer.modifiers = bytes[0];
    for (int i = 0; i < 3; ++i)
        answer.keys[i] = bytes[i + 1];
    const QString typed = QString::fromStdString(protocol::AnswerDisplayText(answer, naming_));

    QString text;
    if (pedals.size() == 1) {
        text = tr("Pedal %1: %2").arg(pedals.front() + 1).arg(typed);
    } else if (pedals.size() > 1) {
        QStringList numbers;
        for (int pedal : pedals)
            numbers << QString::number(pedal + 1);
        const QString last = numbers.takeLast();
        text = tr("Pedals %1 and %2 type the same, %3: which one cannot be told")
                   .arg(numbers.join(QStringLiteral(", ")), last, typed);
    } else {
        // Every pedal of the device, read out or not: one beyond the count
        // may be the one pressed.
        const auto pedalsOnDevice = std::min<std::size_t>(RzSpinEdit1->maximum(), pedalHolds_.size());
        const bool allKnown = std::all_of(pedalHolds_.begin(), pedalHolds_.begin() + pedalsOnDevice,
                                          [](const auto& holds) { return holds.has_value(); });
        text = allKnown ? tr("A pedal typed %1, which no pedal read out holds").arg(typed)
                        : tr("A pedal typed %1: read out to tell which one").arg(typed);
    }
    KeyRefusedSign->hide();
    CaptureOffSign->hide();
    PedalPressedSign->setText(text);
    PedalPressedSign->show();
    if (pedalSignTimer_ != nullptr)
        pedalSignTimer_->start(kPedalSignTime);
    // Its tab, as a click on it selects it; not while a write-in holds the
    // window, and not for a pedal beyond the count (its tab is hidden).
    if (pedals.size() == 1 && pedals.front() < PedalCount() && !WriteInInFlight() &&
        pedals.front() != RzTabControl1->currentIndex()) {
        RzTabControl1->setCurrentIndex(pedals.front());
        RzTabControl1TabClick();
    }
}

void TMainForm::HidePedalPress()
{
    if (pedalSignTimer_ != nullptr)
        pedalSignTimer_->stop();
    PedalPressedSign->hide();
    UpdateCaptureSign();
}

bool TMainForm::TypedByPedal(const std::string& name, std::chrono::steady_clock::time_point at) const
{
    const int usage = Capture != nullptr ? Capture->Naming().Usage(name) : 0;
    return pedalPresses_.PressedNear(usage, at, kPedalKeyPairing);
}

}  // namespace app
