// The real Hookmod.dll under wine: keys pressed with XTest on an Xvfb reach
// its low-level hook, and it posts them to the window named in
// "Local\TestHook". Run by run-under-xvfb.sh, which does the key presses asked
// for with "HOOKTEST ..." lines; without it the test is skipped.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "capture/ExecutableFolder.h"
#include "capture/HookLibrary.h"
#include "capture/KeyDataNames.h"
#include "hookmod/HookMessages.h"

namespace {

struct Message {
    UINT message;
    WPARAM wParam;
    std::uint32_t lParam;
};

// A window that records the hook's messages and its own key messages.
class RecordingWindow {
public:
    explicit RecordingWindow(const std::wstring& title) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &RecordingWindow::Procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"VarnokHookTestWindow";
        RegisterClassW(&windowClass);
        window_ = CreateWindowExW(0, windowClass.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  20, 20, 300, 120, nullptr, nullptr, windowClass.hInstance, this);
    }
    ~RecordingWindow() {
        if (window_ != nullptr) DestroyWindow(window_);
    }

    HWND Handle() const { return window_; }
    std::vector<Message> hook;  // 0x1400, 0x2400, 0x3400, 0x3500
    std::vector<Message> keys;  // WM_KEYDOWN / WM_KEYUP / WM_SYSKEYDOWN / WM_SYSKEYUP

    // Whether the window saw `vk` released `times` times.
    bool Released(WPARAM vk, int times) const {
        int n = 0;
        for (const Message& m : keys) n += (m.message == WM_KEYUP || m.message == WM_SYSKEYUP) && m.wParam == vk;
        return n >= times;
    }
    bool Repeated(WPARAM vk) const {
        for (const Message& m : keys) {
            if (m.message == WM_KEYDOWN && m.wParam == vk && (m.lParam & hookmsg::kPreviousStateBit)) return true;
        }
        return false;
    }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            SetWindowLongPtrW(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        }
        auto* self = reinterpret_cast<RecordingWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        const Message m{message, wParam, static_cast<std::uint32_t>(lParam)};
        if (self != nullptr) {
            if (hookmsg::IsHookMessage(message)) {
                self->hook.push_back(m);
                return 0;
            }
            if (message >= WM_KEYDOWN && message <= WM_SYSKEYUP && message != WM_CHAR && message != WM_DEADCHAR)
                self->keys.push_back(m);
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    HWND window_ = nullptr;
};

// Asks run-under-xvfb.sh to do something.
void Ask(const std::string& request) {
    std::printf("HOOKTEST %s\n", request.c_str());
    std::fflush(stdout);
}

// Runs the message loop until `done` holds; false after a generous limit.
bool PumpUntil(const std::function<bool()>& done) {
    const ULONGLONG end = GetTickCount64() + 60000;
    while (!done()) {
        if (GetTickCount64() > end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return true;
}

std::uint32_t ExpectedMessage(WPARAM vk) {
    switch (vk) {
        case VK_LWIN: return hookmsg::kHookLeftWindows;
        case VK_RWIN: return hookmsg::kHookRightWindows;
        case VK_APPS: return hookmsg::kHookApplication;
        default: return hookmsg::kHookKeyMessage;
    }
}

std::string Describe(const Message& m) {
    char text[96];
    std::snprintf(text, sizeof text, "0x%04X %u %08X %s", m.message, static_cast<unsigned>(m.wParam), m.lParam,
                  capture::KeyNameForMessage(m.lParam).c_str());
    return text;
}

std::wstring Wide(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

TEST(HookmodUnderWine, KeysPressedWithXTestArriveAsTheFourMessagesAndNothingAfterHookOff) {
    if (std::getenv("VARNOK_HOOK_DRIVER") == nullptr) GTEST_SKIP() << "run by run-under-xvfb.sh";
    const std::string title = "Varnok hook test " + std::to_string(GetCurrentProcessId());
    const std::string typistTitle = "Varnok hook typist " + std::to_string(GetCurrentProcessId());
    // The hook's messages go to `target`; the keys, while `typist` is in
    // front, go on to it as to any window.
    RecordingWindow target(Wide(title));
    RecordingWindow typist(Wide(typistTitle));
    ASSERT_NE(target.Handle(), nullptr);
    ASSERT_NE(typist.Handle(), nullptr);
    RecordingWindow& window = typist;

    // The program's own link: Hookmod.dll from this folder, the handle in "Local\TestHook".
    capture::HookLibrary link;
    const auto handle = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(target.Handle()));
    ASSERT_EQ(link.Load(capture::ExecutableFolder(), handle), capture::HookLinkStatus::Ok) << link.FailureDetail();
    link.CallHookOn();

    SetForegroundWindow(typist.Handle());
    Ask("focus " + typistTitle);
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == typist.Handle(); }));
    Ask("xdotool key ctrl+a Super_L Super_R Menu Control_R KP_Enter");
    Ask("xdotool keydown a");  // held until it repeats
    ASSERT_TRUE(PumpUntil([&] { return window.Repeated('A'); }));
    Ask("xdotool keyup a key z");
    ASSERT_TRUE(PumpUntil([&] { return window.Released('Z', 1); }));

    // The hook posts before the key reaches the window, and posted messages
    // come first: every key the window saw has its hook message by now.
    ASSERT_EQ(target.hook.size(), window.keys.size());
    std::vector<std::string> names;
    for (std::size_t i = 0; i < window.keys.size(); ++i) {
        const Message& key = window.keys[i];
        const Message& hooked = target.hook[i];
        SCOPED_TRACE("window " + Describe(key) + ", hook " + Describe(hooked));
        const bool release = key.message == WM_KEYUP || key.message == WM_SYSKEYUP;
        EXPECT_EQ(hooked.message, ExpectedMessage(key.wParam));
        EXPECT_EQ(hooked.wParam, release ? 257u : 256u);
        // Scan code, extended flag, repeat and release bits as the window's own key data.
        constexpr std::uint32_t kCompared = hookmsg::kScanCodeMask | hookmsg::kExtendedBit |
                                            hookmsg::kPreviousStateBit | hookmsg::kReleaseBit;
        EXPECT_EQ(hooked.lParam & kCompared, key.lParam & kCompared);
        EXPECT_EQ(hooked.lParam & hookmsg::kRepeatCountMask, 1u);
        if (!release) names.push_back(capture::KeyNameForMessage(hooked.lParam));
    }
    // Each key by its name, through the names the program gives key data.
    for (const char* expected : {"Ctrl", "A", "Left Windows", "Right Windows", "Application", "Right Ctrl",
                                 "Num Enter", "Z"}) {
        EXPECT_NE(std::find(names.begin(), names.end(), expected), names.end()) << expected;
    }
    int aPresses = 0, aRepeats = 0;
    for (const Message& m : target.hook) {
        if (m.message != hookmsg::kHookKeyMessage || m.wParam != 256 || capture::KeyNameForMessage(m.lParam) != "A")
            continue;
        ++(m.lParam & hookmsg::kPreviousStateBit ? aRepeats : aPresses);
    }
    EXPECT_EQ(aPresses, 2);  // Ctrl+A, then the held A
    EXPECT_GE(aRepeats, 1);

    // With the hook's window in front, the keys go no further: Alt+F4 does
    // not close it. Tab still moves the focus, so it goes on.
    SetForegroundWindow(target.Handle());
    Ask("focus " + title);
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == target.Handle(); }));
    const std::size_t before = target.hook.size();
    Ask("xdotool key alt+F4 Tab");
    ASSERT_TRUE(PumpUntil([&] { return target.Released(VK_TAB, 1); }));
    EXPECT_TRUE(IsWindow(target.Handle()));
    EXPECT_EQ(target.hook.size(), before + 6);
    for (const Message& m : target.keys) EXPECT_EQ(m.wParam, static_cast<WPARAM>(VK_TAB)) << Describe(m);

    link.CallHookOff();
    const std::size_t hooked = target.hook.size();
    Ask("xdotool key b z");
    ASSERT_TRUE(PumpUntil([&] { return target.Released('Z', 1); }));
    EXPECT_EQ(target.hook.size(), hooked);
    EXPECT_TRUE(target.Released('B', 1));
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    Ask("exit " + std::to_string(status));
    return status;
}
