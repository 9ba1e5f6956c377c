// Receives the hook library's key messages and hands each one to
// TMainForm::OnHookMessage, which consumes it. The messages are those of
// hookmod/HookMessages.h; how they travel is the platform's:
//  - X11 (HookMessageFilterX11.cpp): ClientMessage events of the hook's own
//    atom, sent to the main window, carrying message, wParam and lParam in
//    their first three 32-bit data words;
//  - Windows (windows/HookMessageFilterWindows.cpp): window messages 0x1400,
//    0x2400, 0x3400 and 0x3500 posted to the main window's handle.
#pragma once

#include <QAbstractNativeEventFilter>

#include <cstdint>
#include <memory>

namespace app {

class TMainForm;

class HookMessageFilter : public QAbstractNativeEventFilter {
public:
    // `atom`: on X11 the atom of the hook's message type; Windows messages
    // carry their own numbers (0).
    explicit HookMessageFilter(TMainForm& form, std::uint32_t atom = 0);

    // A filter for the running application, installed on it; nullptr when
    // no hook messages can reach the window there (on X11: the application
    // does not run on X).
    static std::unique_ptr<HookMessageFilter> Install(TMainForm& form);
    ~HookMessageFilter() override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    // Installs this filter on the running application.
    void InstallOnApplication();

    TMainForm& form_;
    std::uint32_t atom_;
    bool installed_ = false;
};

}  // namespace app
