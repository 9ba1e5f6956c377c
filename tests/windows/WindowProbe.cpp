// window-probe.exe: what Windows itself says about a program's windows, for
// the tests that run the real programs under wine. Looks at the windows of
// the desktop DESKTOP (a wine virtual desktop); prints one line per fact and
// exits 0, or 1 when the desktop or the window does not come within 60 s.
//
//   window-probe DESKTOP geometry TITLE  frame L T R B / client W H / client-origin X Y /
//                                        style: resizable 0|1 maximize-box 0|1 minimize-box 0|1
//   window-probe DESKTOP wait TITLE      waits until a visible window has TITLE
//   window-probe DESKTOP gone TITLE      waits until no visible window has TITLE
//   window-probe DESKTOP close TITLE     asks the window to close (WM_CLOSE)
//   window-probe DESKTOP clipboard       the clipboard's text (UTF-8)
//   window-probe DESKTOP rawinput SECONDS run in DESKTOP: the keyboards' Raw Input for SECONDS, through
//                                        a window of its own: "device TYPE NAME" for each device, then
//                                        "keyboard NAME make M flags F" / "hid NAME BYTES" per event
//
// TITLE is matched exactly.
#include <windows.h>
// After windows.h:
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string Utf8(const wchar_t* text, int length = -1) {
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return {};
    std::string out(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), bytes, nullptr, nullptr);
    if (length < 0) out.pop_back();  // the terminating zero
    return out;
}

struct Search {
    std::wstring title;
    HWND found = nullptr;
};

BOOL CALLBACK Match(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    wchar_t title[256];
    const int length = GetWindowTextW(window, title, 256);
    if (IsWindowVisible(window) && std::wstring(title, static_cast<std::size_t>(length)) == search->title) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindVisible(const std::wstring& title) {
    Search search{title};
    EnumWindows(&Match, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Polls every 100 ms for up to 60 s.
HWND WaitForWindow(const std::wstring& title) {
    for (int tries = 0; tries < 600; ++tries) {
        if (HWND window = FindVisible(title)) return window;
        Sleep(100);
    }
    return nullptr;
}

bool WaitUntilGone(const std::wstring& title) {
    for (int tries = 0; tries < 600; ++tries) {
        if (FindVisible(title) == nullptr) return true;
        Sleep(100);
    }
    return false;
}

int Geometry(HWND window) {
    RECT frame{};
    RECT client{};
    GetWindowRect(window, &frame);
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    std::printf("frame %ld %ld %ld %ld\n", frame.left, frame.top, frame.right, frame.bottom);
    std::printf("client %ld %ld\n", client.right - client.left, client.bottom - client.top);
    std::printf("client-origin %ld %ld\n", origin.x, origin.y);
    std::printf("style: resizable %d maximize-box %d minimize-box %d\n", (style & WS_THICKFRAME) != 0,
                (style & WS_MAXIMIZEBOX) != 0, (style & WS_MINIMIZEBOX) != 0);
    return 0;
}

int Clipboard() {
    for (int tries = 0; tries < 50 && !OpenClipboard(nullptr); ++tries) Sleep(100);
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (data != nullptr) {
        if (const auto* text = static_cast<const wchar_t*>(GlobalLock(data))) {
            std::fputs(Utf8(text).c_str(), stdout);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return data != nullptr ? 0 : 1;
}

std::string DeviceName(HANDLE device) {
    UINT length = 0;
    if (GetRawInputDeviceInfoW(device, RIDI_DEVICENAME, nullptr, &length) != 0 || length == 0) return "?";
    std::wstring name(length, L'\0');
    if (GetRawInputDeviceInfoW(device, RIDI_DEVICENAME, name.data(), &length) == static_cast<UINT>(-1)) return "?";
    return Utf8(name.c_str());
}

LRESULT CALLBACK RawInputWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_INPUT) return DefWindowProcW(window, message, wParam, lParam);
    UINT size = 0;
    GetRawInputData(reinterpret_cast<HRAWINPUT>(lParam), RID_INPUT, nullptr, &size, sizeof(RAWINPUTHEADER));
    std::string buffer(size, '\0');
    if (size == 0 || GetRawInputData(reinterpret_cast<HRAWINPUT>(lParam), RID_INPUT, buffer.data(), &size,
                                     sizeof(RAWINPUTHEADER)) != size)
        return DefWindowProcW(window, message, wParam, lParam);
    const auto* input = reinterpret_cast<const RAWINPUT*>(buffer.data());
    const std::string name = DeviceName(input->header.hDevice);
    if (input->header.dwType == RIM_TYPEKEYBOARD) {
        std::printf("keyboard %s make %u flags %u\n", name.c_str(), input->data.keyboard.MakeCode,
                    input->data.keyboard.Flags);
    } else if (input->header.dwType == RIM_TYPEHID) {
        std::printf("hid %s", name.c_str());
        const RAWHID& hid = input->data.hid;
        for (DWORD i = 0; i < hid.dwSizeHid * hid.dwCount; ++i) std::printf(" %02x", hid.bRawData[i]);
        std::printf("\n");
    }
    std::fflush(stdout);
    return DefWindowProcW(window, message, wParam, lParam);
}

int RawInput(int seconds) {
    UINT count = 0;
    GetRawInputDeviceList(nullptr, &count, sizeof(RAWINPUTDEVICELIST));
    std::vector<RAWINPUTDEVICELIST> devices(count);
    if (count > 0 && GetRawInputDeviceList(devices.data(), &count, sizeof(RAWINPUTDEVICELIST)) != static_cast<UINT>(-1))
        for (UINT i = 0; i < count; ++i)
            std::printf("device %lu %s\n", devices[i].dwType, DeviceName(devices[i].hDevice).c_str());
    WNDCLASSW type{};
    type.lpfnWndProc = &RawInputWindow;
    type.hInstance = GetModuleHandleW(nullptr);
    type.lpszClassName = L"RawInputProbe";
    RegisterClassW(&type);
    HWND window = CreateWindowW(L"RawInputProbe", L"raw input probe", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                nullptr, type.hInstance, nullptr);
    RAWINPUTDEVICE keyboards{0x01, 0x06, RIDEV_INPUTSINK, window};
    if (window == nullptr || !RegisterRawInputDevices(&keyboards, 1, sizeof keyboards)) {
        std::printf("register failed %lu\n", GetLastError());
        return 1;
    }
    std::printf("listening\n");
    std::fflush(stdout);
    const DWORD end = GetTickCount() + static_cast<DWORD>(seconds) * 1000;
    MSG message;
    while (GetTickCount() < end) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
    return 0;
}

}  // namespace

int main() {
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (args == nullptr || count < 3) {
        std::fputs("usage: window-probe DESKTOP geometry|wait|gone|close TITLE | clipboard\n", stderr);
        return 2;
    }
    // Run inside that desktop: its window needs no other.
    if (std::wstring(args[2]) == L"rawinput" && count >= 4) return RawInput(_wtoi(args[3]));
    // The windows of that desktop (made by the program's start, which may
    // still be under way); this thread has none of its own yet.
    HDESK desktop = nullptr;
    for (int tries = 0; tries < 600 && desktop == nullptr; ++tries) {
        desktop = OpenDesktopW(args[1], 0, FALSE, DESKTOP_READOBJECTS | DESKTOP_ENUMERATE);
        if (desktop == nullptr) Sleep(100);
    }
    if (desktop == nullptr || !SetThreadDesktop(desktop)) {
        std::fprintf(stderr, "no desktop \"%s\"\n", Utf8(args[1]).c_str());
        return 1;
    }
    const std::wstring command = args[2];
    if (command == L"clipboard") return Clipboard();
    if (count < 4) return 2;
    if (command == L"gone") return WaitUntilGone(args[3]) ? 0 : 1;
    HWND window = WaitForWindow(args[3]);
    if (window == nullptr) {
        std::fprintf(stderr, "no window \"%s\"\n", Utf8(args[3]).c_str());
        return 1;
    }
    if (command == L"geometry") return Geometry(window);
    if (command == L"close") return PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
    std::puts("found");
    return 0;
}
