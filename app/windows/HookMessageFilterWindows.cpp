// The hook messages on Windows: Hookmod.dll posts them to the main window's
// handle, which the program published in "Local\TestHook"; they arrive
// through the thread's message queue like any posted message.
#include "app/HookMessageFilter.h"

#include <windows.h>

#include <QGuiApplication>

#include "app/MainForm.h"
#include "hookmod/HookMessages.h"

namespace app {

std::unique_ptr<HookMessageFilter> HookMessageFilter::Install(TMainForm& form)
{
    auto filter = std::make_unique<HookMessageFilter>(form);
    filter->InstallOnApplication();
    return filter;
}

bool HookMessageFilter::nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result)
{
    if (eventType != "windows_generic_MSG" || message == nullptr)
        return false;
    const auto* msg = static_cast<const MSG*>(message);
    if (!hookmsg::IsHookMessage(msg->message))
        return false;
    if (msg->hwnd == nullptr || msg->hwnd != reinterpret_cast<HWND>(form_.internalWinId()))
        return false;
    // wParam and lParam carry 32-bit values (the key-down / key-up message
    // numbers and the key data).
    form_.OnHookMessage(msg->message, static_cast<std::uint32_t>(msg->wParam),
                        static_cast<std::uint32_t>(msg->lParam));
    if (result != nullptr)
        *result = 0;
    return true;
}

}  // namespace app
