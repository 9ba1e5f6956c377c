// A KeyLayout over a Windows keyboard layout handle (HKL): the scan code to
// a virtual key (MapVirtualKeyExW), then what that key types without
// modifiers (ToUnicodeEx, leaving the keyboard state alone).
#pragma once

#include <windows.h>

#include "keys/KeyLayout.h"

namespace keys {

class WindowsLayout final : public KeyLayout {
public:
    explicit WindowsLayout(HKL layout) : layout_(layout) {}

    // The layout of the thread that owns the foreground window (the
    // calling thread's when there is none).
    static HKL ForegroundLayout();

    HKL Handle() const { return layout_; }

    char32_t Character(int usage) const override;
    char32_t Capital(char32_t c) const override;

private:
    HKL layout_;
};

}  // namespace keys
