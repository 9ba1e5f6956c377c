// The pedal's keystrokes on Windows: the system opens keyboard collections
// exclusively, so the window registers for the keyboards' Raw Input (usage
// page 1, usage 6, also while in the background) and keeps the events of
// the devices with the pedal's ids (asked again when a device comes or
// goes). Each make or break code becomes the key's usage; the keys held
// per device go to the window after each event.
// Registering takes nothing away from other windows: WM_KEYDOWN and the
// keyboard hook still see every key.
#include "app/PedalKeyboardInput.h"

#include <windows.h>

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QWidget>

#include <cwctype>
#include <map>
#include <string>
#include <vector>

#include "app/PedalIdentity.h"
#include "capture/KeyDataNames.h"

namespace app {
namespace {

constexpr USHORT kGenericDesktopPage = 0x01;
constexpr USHORT kKeyboardUsage = 0x06;

// The device interface name carries the hardware ids: "\\?\HID#VID_16C0&PID_05E1&...".
bool HasPedalIds(const std::wstring& name)
{
    std::wstring upper;
    for (wchar_t c : name)
        upper += static_cast<wchar_t>(std::towupper(c));
    wchar_t ids[32];
    swprintf(ids, 32, L"VID_%04X&PID_%04X", kPedalVendorId, kPedalProductId);
    return upper.find(ids) != std::wstring::npos;
}

std::wstring DeviceName(HANDLE device)
{
    UINT length = 0;
    if (GetRawInputDeviceInfoW(device, RIDI_DEVICENAME, nullptr, &length) != 0 || length == 0)
        return {};
    std::vector<wchar_t> name(length + 1, L'\0');
    if (GetRawInputDeviceInfoW(device, RIDI_DEVICENAME, name.data(), &length) == static_cast<UINT>(-1))
        return {};
    return std::wstring(name.data());
}

class RawInputKeyboards final : public PedalKeyboardInput, public QAbstractNativeEventFilter {
public:
    RawInputKeyboards(HWND window, HeldHandler held) : window_(window), held_(std::move(held))
    {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~RawInputKeyboards() override
    {
        QCoreApplication::instance()->removeNativeEventFilter(this);
        RAWINPUTDEVICE device{kGenericDesktopPage, kKeyboardUsage, RIDEV_REMOVE, nullptr};
        RegisterRawInputDevices(&device, 1, sizeof device);
    }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override
    {
        if (eventType != "windows_generic_MSG" || message == nullptr)
            return false;
        const auto* msg = static_cast<const MSG*>(message);
        if (msg->hwnd != window_)
            return false;
        if (msg->message == WM_INPUT_DEVICE_CHANGE) {
            // A handle may come back for another device: ask again.
            const auto device = reinterpret_cast<HANDLE>(msg->lParam);
            pedal_.erase(device);
            heldBy_.erase(device);
            return false;
        }
        if (msg->message != WM_INPUT)
            return false;
        RAWINPUT input{};
        UINT size = sizeof input;
        if (GetRawInputData(reinterpret_cast<HRAWINPUT>(msg->lParam), RID_INPUT, &input, &size,
                            sizeof(RAWINPUTHEADER)) == static_cast<UINT>(-1) ||
            input.header.dwType != RIM_TYPEKEYBOARD || !IsPedal(input.header.hDevice))
            return false;   // the default handling still runs
        const RAWKEYBOARD& key = input.data.keyboard;
        if (key.Flags & RI_KEY_E1)
            return false;   // Pause's prefix: no usage of its own
        const std::uint32_t keyData =
            (static_cast<std::uint32_t>(key.MakeCode & 0xFF) << 16) | ((key.Flags & RI_KEY_E0) ? 1u << 24 : 0u);
        const int usage = capture::KeyDataUsage(keyData);
        if (usage <= 0 || usage > 255)
            return false;
        protocol::HeldKeys& held = heldBy_[input.header.hDevice];
        held.set(static_cast<std::size_t>(usage), !(key.Flags & RI_KEY_BREAK));
        held_(held);
        return false;
    }

private:
    bool IsPedal(HANDLE device)
    {
        const auto known = pedal_.find(device);
        if (known != pedal_.end())
            return known->second;
        const bool pedal = HasPedalIds(DeviceName(device));
        pedal_.emplace(device, pedal);
        return pedal;
    }

    HWND window_;
    HeldHandler held_;
    std::map<HANDLE, bool> pedal_;
    std::map<HANDLE, protocol::HeldKeys> heldBy_;
};

// Wine lists a HID keyboard collection for Raw Input, but sends the X
// server's keys in its name and never its own reports: every key typed
// would count as the pedal's.
bool UnderWine()
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace

std::unique_ptr<PedalKeyboardInput> PedalKeyboardInput::Install(QWidget& window, HeldHandler held)
{
    if (UnderWine())
        return nullptr;
    const auto hwnd = reinterpret_cast<HWND>(window.winId());
    RAWINPUTDEVICE device{kGenericDesktopPage, kKeyboardUsage, RIDEV_INPUTSINK | RIDEV_DEVNOTIFY, hwnd};
    if (!RegisterRawInputDevices(&device, 1, sizeof device))
        return nullptr;
    return std::make_unique<RawInputKeyboards>(hwnd, std::move(held));
}

bool PedalKeyboardInput::ReadThroughController()
{
    return false;
}

}  // namespace app
