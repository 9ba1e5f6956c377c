// Receives the hook library's key messages: X11 ClientMessage events of the
// hook's own atom, sent to the main window, carrying message, wParam and
// lParam in their first three 32-bit data words. Each one goes to
// TMainForm::OnHookMessage and is consumed.
#pragma once

#include <QAbstractNativeEventFilter>

#include <cstdint>
#include <memory>

namespace app {

class TMainForm;

class HookMessageFilter : public QAbstractNativeEventFilter {
public:
    // `atom` is the X atom of the hook's message type.
    HookMessageFilter(TMainForm& form, std::uint32_t atom);

    // A filter for the running application, installed on it; nullptr when
    // the application does not run on X11 (no hook messages can arrive).
    static std::unique_ptr<HookMessageFilter> InstallForX11(TMainForm& form);
    ~HookMessageFilter() override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    TMainForm& form_;
    std::uint32_t atom_;
    bool installed_ = false;
};

}  // namespace app
