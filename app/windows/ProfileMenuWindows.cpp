// The profile entries of the window's system menu on Windows. The menu's
// commands come to the window as WM_SYSCOMMAND, whose low four bits the
// system uses: the ids are multiples of 16 below the system's own (0xF000).
// The dialogs open from the event loop, not inside the window procedure.
#include "app/ProfileSystemMenu.h"

#include <windows.h>

#include <QCoreApplication>
#include <QTimer>

#include <string>

#include "app/MainForm.h"
#include "app/ProfileTexts.h"

namespace app {
namespace {

constexpr UINT_PTR kOpenProfileCommand = 0x0110;
constexpr UINT_PTR kSaveProfileCommand = 0x0120;

}  // namespace

std::unique_ptr<ProfileSystemMenu> ProfileSystemMenu::Install(TMainForm& form)
{
    const HWND window = reinterpret_cast<HWND>(form.winId());
    HMENU menu = window != nullptr ? GetSystemMenu(window, FALSE) : nullptr;
    if (menu == nullptr)
        return nullptr;
    const std::wstring open = OpenProfileActionText().toStdWString();
    const std::wstring save = SaveProfileActionText().toStdWString();
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kOpenProfileCommand, open.c_str());
    AppendMenuW(menu, MF_STRING, kSaveProfileCommand, save.c_str());
    auto filter = std::make_unique<ProfileSystemMenu>(form);
    QCoreApplication::instance()->installNativeEventFilter(filter.get());
    return filter;
}

ProfileSystemMenu::~ProfileSystemMenu()
{
    if (QCoreApplication::instance() != nullptr)
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool ProfileSystemMenu::nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result)
{
    if (eventType != "windows_generic_MSG" || message == nullptr)
        return false;
    const auto* msg = static_cast<const MSG*>(message);
    if (msg->message != WM_SYSCOMMAND || msg->hwnd != reinterpret_cast<HWND>(form_.internalWinId()))
        return false;
    const UINT_PTR command = static_cast<UINT_PTR>(msg->wParam) & 0xFFF0;
    if (command != kOpenProfileCommand && command != kSaveProfileCommand)
        return false;
    TMainForm* form = &form_;
    QTimer::singleShot(0, form, [form, command] {
        if (command == kOpenProfileCommand)
            form->OpenProfileClick();
        else
            form->SaveProfileClick();
    });
    if (result != nullptr)
        *result = 0;
    return true;
}

}  // namespace app
