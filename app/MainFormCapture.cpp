// Key capture in the main window: the keyboard hook follows the key edit
// box's focus, the hook's messages feed the capture, and every change of the
// key edit box's text is entered into the configuration table.
#include <QLineEdit>

#include <string>
#include <vector>

#include "app/HookMessageFilter.h"
#include "app/MainForm.h"
#include "app/TabControl.h"
#include "capture/KeyEntry.h"

namespace app {

void TMainForm::ConnectCaptureHandlers()
{
    connect(RzEdit1, &QLineEdit::textChanged, this, &TMainForm::RzEdit1Change);
    hookFilter_ = HookMessageFilter::InstallForX11(*this);
}

void TMainForm::RzEdit1Enter()
{
    HookLink.CallHookOn();
}

void TMainForm::RzEdit1Exit()
{
    HookLink.CallHookOff();
}

void TMainForm::RzEdit1Change()
{
    if (WriteInInFlight()) {
        KeepShownAssignment();
        return;
    }
    static const std::vector<std::string> kNothingCaptured;
    const std::vector<std::string>& captured =
        Capture != nullptr ? Capture->CapturedKeyList() : kNothingCaptured;
    const std::optional<std::string> codes = capture::ApplyKeyEntry(
        RzEdit1->text().toStdString(), RzTabControl1->currentIndex(), captured, PedalConfigTable);
    if (codes)
        Edit2->setText(QString::fromStdString(*codes));
}

void TMainForm::OnHookMessage(std::uint32_t message, std::uint32_t wParam, std::uint32_t lParam)
{
    if (Capture != nullptr)
        Capture->HandleHookMessage(message, wParam, lParam, isActiveWindow());
}

}  // namespace app
