// Key capture in the main window: the keyboard hook follows the key edit
// box's focus, the hook's messages feed the capture, and a captured
// combination is entered into the configuration table.
//
// The table changes only through a capture: a text that the program sets in
// the key edit box (a tab change, an answer) is stored as the row's text and
// never takes the captured key list with it. The list lives only while the
// hook is on and the tab stays the same, so a key held when the focus left
// (Tab, a click with Ctrl held) or the tab changed cannot reach the next
// combination.
#include <QLabel>
#include <QLineEdit>

#include <string>
#include <vector>

#include "app/CaptureAvailability.h"
#include "app/HookMessageFilter.h"
#include "app/KeyboardGrab.h"
#include "app/KeyboardLayoutWatch.h"
#include "app/MainForm.h"
#include "app/TabControl.h"
#include "translations/Translations.h"
#include "capture/KeyEntry.h"

namespace app {

void TMainForm::ConnectCaptureHandlers()
{
    connect(RzEdit1, &QLineEdit::textChanged, this, &TMainForm::RzEdit1Change);
    hookFilter_ = HookMessageFilter::Install(*this);
}

void TMainForm::RzEdit1Enter()
{
    // Keys are typed in the layout of the moment (on Windows, per window).
    if (layoutWatch_ != nullptr)
        layoutWatch_->Refresh();
    KeyRefusedSign->hide();
    if (Capture != nullptr)
        Capture->Reset();
    grabOffReason_ = captureOffReason_.isEmpty() ? GrabKeyboardForCapture(this) : QString();
    if (!grabOffReason_.isEmpty()) {
        UpdateCaptureSign();
        return;
    }
    // The hook goes in afresh at each focus: the system may have removed the
    // last one. One it refused turns the sign off for this focus, with why.
    if (!HookLink.CallHookOn()) {
        HookLink.CallHookOff();
        ReleaseKeyboardForCapture(this);
        grabOffReason_ = QString::fromStdString(HookLink.HookOnFailure());
        UpdateCaptureSign();
        return;
    }
    listening_ = true;
    UpdateCaptureSign();
}

void TMainForm::RzEdit1Exit()
{
    StopListening();
}

void TMainForm::StopListening()
{
    HookLink.CallHookOff();
    if (listening_ && captureOffReason_.isEmpty())   // the grab was taken
        ReleaseKeyboardForCapture(this);
    grabOffReason_.clear();
    listening_ = false;
    if (Capture != nullptr)
        Capture->Reset();
    UpdateCaptureSign();
}

void TMainForm::ShowCapturedCombination(const std::string& text)
{
    // Only this change of the text enters the captured keys.
    KeyRefusedSign->hide();
    const bool outer = enteringCapture_;
    enteringCapture_ = true;
    RzEdit1->setText(QString::fromStdString(text));
    enteringCapture_ = outer;
}

void TMainForm::ShowKeyRefused(const std::string& key)
{
    // The key edit box and the row keep what they had.
    KeyRefusedSign->setText(tr("%1 cannot be given to the pedal").arg(QString::fromStdString(key)));
    PedalPressedSign->hide();
    KeyRefusedSign->show();
}

void TMainForm::SetKeyNaming(keys::KeyNaming naming)
{
    // Keys that type no character are named in the window's language.
    naming.SetLanguage(i18n::InstalledLanguage().toStdString());
    naming_ = std::move(naming);
    if (Capture != nullptr)
        Capture->SetNaming(naming_);
}

void TMainForm::RzEdit1Change()
{
    if (WriteInInFlight()) {
        KeepShownAssignment();
        return;
    }
    static const std::vector<std::string> kNothingCaptured;
    const std::vector<std::string>& captured =
        Capture != nullptr && enteringCapture_ ? Capture->CapturedKeyList() : kNothingCaptured;
    const std::optional<std::string> codes = capture::ApplyKeyEntry(
        RzEdit1->text().toStdString(), RzTabControl1->currentIndex(), captured, PedalConfigTable,
        Capture != nullptr ? Capture->Naming() : naming_);
    if (codes) {
        rowStates_.UserSet(RzTabControl1->currentIndex());
        Edit2->setText(QString::fromStdString(*codes));
    }
}

void TMainForm::OnHookMessage(std::uint32_t message, std::uint32_t wParam, std::uint32_t lParam)
{
    // A message that was on its way when the hook went off belongs to no
    // combination.
    if (Capture != nullptr && listening_)
        Capture->HandleHookMessage(message, wParam, lParam, isActiveWindow());
}

void TMainForm::CheckCaptureAvailable()
{
    captureOffReason_ = CaptureUnavailableHere(HookLink.HasHooks());
    UpdateCaptureSign();
}

void TMainForm::UpdateCaptureSign()
{
    const QString& reason = captureOffReason_.isEmpty() ? grabOffReason_ : captureOffReason_;
    const bool listening = listening_ && captureOffReason_.isEmpty() && HookLink.HasHooks();
    // During a write-in the key edit box takes nothing, and says so.
    const bool waiting = listening && WriteInInFlight();
    if (!reason.isEmpty()) {
        CaptureOffSign->setText(tr("Key capture is off: %1").arg(reason));
        CaptureOffSign->setToolTip(tr("The key box cannot take keys here: %1. %2 Without it a pedal "
                                      "can be set with the command line: varnok-pedal write.")
                                       .arg(reason, CaptureRequirement()));
    } else if (waiting) {
        CaptureOffSign->setText(tr("Keys are not taken until the write-in ends."));
        CaptureOffSign->setToolTip(QString());
    }
    // A write-in's sign replaces the pedal's; a standing reason waits for
    // the pedal's sign to go.
    if (waiting)
        PedalPressedSign->hide();
    CaptureOffSign->setVisible((!reason.isEmpty() || waiting) && !PedalPressedSign->isVisibleTo(RzTabControl1));
    ListeningSign->setVisible(listening && !waiting);
}

}  // namespace app
