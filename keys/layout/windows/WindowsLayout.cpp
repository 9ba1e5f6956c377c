#include "keys/layout/windows/WindowsLayout.h"

#include "keys/CharacterKeys.h"

namespace keys {
namespace {

// ToUnicodeEx flag: do not change the keyboard state (no dead key is left
// pending by the lookup).
constexpr UINT kKeepKeyboardState = 0x4;

char32_t FromUtf16(const wchar_t* text, int length) {
    if (length == 1) return static_cast<char32_t>(text[0]);
    if (length == 2 && text[0] >= 0xD800 && text[0] < 0xDC00 && text[1] >= 0xDC00 &&
        text[1] < 0xE000)
        return 0x10000 + ((static_cast<char32_t>(text[0]) - 0xD800) << 10) +
               (static_cast<char32_t>(text[1]) - 0xDC00);
    return 0;
}

}  // namespace

HKL WindowsLayout::ForegroundLayout() {
    const HWND foreground = GetForegroundWindow();
    const DWORD thread = foreground != nullptr ? GetWindowThreadProcessId(foreground, nullptr) : 0;
    return GetKeyboardLayout(thread);
}

char32_t WindowsLayout::Character(int usage) const {
    const int scanCode = CharacterScanCode(usage);
    if (scanCode == 0) return 0;
    const UINT virtualKey =
        MapVirtualKeyExW(static_cast<UINT>(scanCode), MAPVK_VSC_TO_VK_EX, layout_);
    if (virtualKey == 0) return 0;
    const BYTE noModifiers[256] = {};
    wchar_t text[8] = {};
    const int length = ToUnicodeEx(virtualKey, static_cast<UINT>(scanCode), noModifiers, text,
                                   static_cast<int>(sizeof text / sizeof text[0]),
                                   kKeepKeyboardState, layout_);
    // A dead key answers -1 with its spacing character.
    return FromUtf16(text, length < 0 ? 1 : length);
}

char32_t WindowsLayout::Capital(char32_t c) const {
    if (c >= 0x10000) return c;
    wchar_t text[2] = {static_cast<wchar_t>(c), 0};
    CharUpperBuffW(text, 1);
    return static_cast<char32_t>(text[0]);
}

}  // namespace keys
