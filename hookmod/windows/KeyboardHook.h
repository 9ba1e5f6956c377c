// The low-level keyboard hook of Hookmod.dll. On sees every key press and
// release of the desktop and posts each to the window named in the mapping;
// while that window is in front, the keys go no further (LowLevelKeyRules.h
// says which). Off stops that.
//
// The hook runs on the thread that called On, whenever that thread's message
// loop runs, so On and Off are called from that one thread (the program's
// main thread). Low-level hooks carry no repeat flag: the hook keeps which
// keys are down, starting from the keyboard's state at On, so a key already
// held then repeats rather than counting as pressed. Which events count as
// keys, and as which position: LowLevelKeyRules.h.
#pragma once

#include <windows.h>

#include "hookmod/windows/LowLevelKeyRules.h"

namespace hookmod::windows {

class KeyboardHook {
public:
    explicit KeyboardHook(HINSTANCE module) : module_(module) {}
    ~KeyboardHook() { Off(); }
    KeyboardHook(const KeyboardHook&) = delete;
    KeyboardHook& operator=(const KeyboardHook&) = delete;

    // Installs the hook afresh, also when it is on already: Windows removes
    // a low-level hook that took too long to answer, without a word.
    void On();
    void Off();  // nothing when off
    // Why the last On could not install the hook (GetLastError); 0 when it did.
    DWORD OnError() const { return onError_; }

private:
    static LRESULT CALLBACK Procedure(int code, WPARAM wParam, LPARAM lParam);
    // True when the desktop is not to see the key.
    bool Handle(WPARAM wParam, const KBDLLHOOKSTRUCT& event);

    HINSTANCE module_;
    HHOOK hook_ = nullptr;
    DWORD onError_ = ERROR_SUCCESS;
    HeldKeys held_;
};

}  // namespace hookmod::windows
