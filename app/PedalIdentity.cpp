#include "app/PedalIdentity.h"

#include "hid/THidDevice.h"
#include "hid/platform/HidPlatform.h"

namespace app {
namespace {

constexpr std::uint16_t kGenericDesktopPage = 0x01;
constexpr std::uint16_t kKeyboardUsage = 0x06;

bool HasPedalIds(const hid::THidDevice& device)
{
    return device.VendorID() == kPedalVendorId && device.ProductID() == kPedalProductId;
}

}  // namespace

bool IsListedPedal(hid::THidDevice& device)
{
    if (!HasPedalIds(device))
        return false;
    hid::platform::HIDP_CAPS caps;
    device.ReadCaps(caps);
    return caps.OutputReportByteLength == kPedalReportLength;
}

bool IsFallbackPedal(hid::THidDevice* device)
{
    if (device == nullptr || !HasPedalIds(*device))
        return false;
    hid::platform::HIDP_CAPS caps;
    device->ReadCaps(caps);
    return caps.InputReportByteLength == kPedalReportLength;
}

bool IsPedalKeyboard(hid::THidDevice& device)
{
    if (!HasPedalIds(device))
        return false;
    hid::platform::HIDP_CAPS caps;
    device.ReadCaps(caps);
    return caps.UsagePage == kGenericDesktopPage && caps.Usage == kKeyboardUsage;
}

QString PedalDescription(const std::u16string& product, const std::u16string& serial)
{
    QString text = QString::fromStdU16String(product);
    if (!serial.empty())
        text += QStringLiteral(" (SN:%1)").arg(QString::fromStdU16String(serial));
    return text;
}

}  // namespace app
