#include "hookmod/windows/KeyboardHook.h"

#include "hookmod/windows/HookTarget.h"
#include "hookmod/windows/LowLevelKeyMessage.h"

namespace hookmod::windows {

namespace {

// The hook procedure has no context argument; one hook per library.
KeyboardHook* g_active = nullptr;

}  // namespace

void KeyboardHook::On() {
    Off();
    held_.Clear();
    for (UINT vk = 0x08; vk < 0xFF; ++vk) {  // keys only, not the mouse buttons below 0x08
        // Shift, Ctrl and Alt are also held as their left and right keys.
        if (vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU) continue;
        if (!(GetAsyncKeyState(static_cast<int>(vk)) & 0x8000)) continue;
        const UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC_EX);  // 0xE0xx: extended
        if (scan == 0 || ((scan >> 8) != 0 && (scan >> 8) != 0xE0)) continue;  // E1: Pause
        held_.Hold(scan & 0xFF, (scan >> 8) == 0xE0);
    }
    g_active = this;
    hook_ = SetWindowsHookExW(WH_KEYBOARD_LL, &KeyboardHook::Procedure, module_, 0);
    onError_ = hook_ != nullptr ? ERROR_SUCCESS : GetLastError();
    if (hook_ == nullptr) {
        if (onError_ == ERROR_SUCCESS) onError_ = ERROR_HOOK_NOT_INSTALLED;
        g_active = nullptr;
    }
}

void KeyboardHook::Off() {
    if (hook_ == nullptr) return;
    UnhookWindowsHookEx(hook_);
    hook_ = nullptr;
    g_active = nullptr;
}

LRESULT CALLBACK KeyboardHook::Procedure(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && g_active != nullptr &&
        g_active->Handle(wParam, *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam)))
        return 1;  // the desktop and the other hooks do not see the key
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

namespace {

// The window, or a window it owns (a dialog of the program), is in front.
bool InFront(HWND target) {
    const HWND front = GetForegroundWindow();
    return target != nullptr && front != nullptr &&
           GetAncestor(front, GA_ROOTOWNER) == GetAncestor(target, GA_ROOTOWNER);
}

}  // namespace

bool KeyboardHook::Handle(WPARAM wParam, const KBDLLHOOKSTRUCT& event) {
    LowLevelEvent raw;
    raw.vkCode = event.vkCode;
    raw.scanCode = event.scanCode;
    raw.flags = event.flags;
    raw.release = wParam == WM_KEYUP || wParam == WM_SYSKEYUP;
    const HWND window = ReadTargetWindow();
    const LowLevelOutcome outcome = TakeLowLevelEvent(raw, InFront(window), held_);
    if (!outcome.message) return false;
    const HookKeyMessage& m = *outcome.message;
    if (window != nullptr) PostMessageW(window, m.message, m.wParam, static_cast<LPARAM>(m.lParam));
    return outcome.keepFromDesktop;
}

}  // namespace hookmod::windows
