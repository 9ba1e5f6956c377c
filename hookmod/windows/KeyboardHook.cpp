#include "hookmod/windows/KeyboardHook.h"

#include "hookmod/windows/HookTarget.h"
#include "hookmod/windows/LowLevelKeyMessage.h"

namespace hookmod::windows {

namespace {

// The hook procedure has no context argument; one hook per library.
KeyboardHook* g_active = nullptr;

}  // namespace

void KeyboardHook::On() {
    if (hook_ != nullptr) return;
    down_.reset();
    for (int vk = 0x08; vk < 0xFF; ++vk) {  // keys only, not the mouse buttons below 0x08
        if (GetAsyncKeyState(vk) & 0x8000) down_.set(static_cast<std::size_t>(vk));
    }
    g_active = this;
    hook_ = SetWindowsHookExW(WH_KEYBOARD_LL, &KeyboardHook::Procedure, module_, 0);
    if (hook_ == nullptr) g_active = nullptr;
}

void KeyboardHook::Off() {
    if (hook_ == nullptr) return;
    UnhookWindowsHookEx(hook_);
    hook_ = nullptr;
    g_active = nullptr;
}

LRESULT CALLBACK KeyboardHook::Procedure(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && g_active != nullptr)
        g_active->Handle(wParam, *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void KeyboardHook::Handle(WPARAM wParam, const KBDLLHOOKSTRUCT& event) {
    LowLevelKey key;
    key.vkCode = event.vkCode;
    key.scanCode = event.scanCode;
    key.extended = (event.flags & LLKHF_EXTENDED) != 0;
    key.release = wParam == WM_KEYUP || wParam == WM_SYSKEYUP;
    const std::size_t index = event.vkCode & 0xFF;
    const bool wasDown = down_.test(index);
    down_.set(index, !key.release);
    const HookKeyMessage m = MakeLowLevelKeyMessage(key, wasDown);
    if (HWND window = ReadTargetWindow()) PostMessageW(window, m.message, m.wParam, static_cast<LPARAM>(m.lParam));
}

}  // namespace hookmod::windows
