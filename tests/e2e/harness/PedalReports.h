// What the fake pedal received, as the tests look at it.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "hid/platform/linux/tests/FakePedal.h"
#include "tests/e2e/harness/Process.h"

namespace e2e {

using Report = hid::platform::linux_::fakes::FakeHidDevice::Report;
using hid::platform::linux_::fakes::FakeHidDevice;

inline bool IsReadRequest(const Report& report)
{
    return report == Report{0x02, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
}

inline std::size_t CountReadRequests(const FakeHidDevice& node)
{
    const std::vector<Report> written = node.Written();
    return static_cast<std::size_t>(std::count_if(written.begin(), written.end(), IsReadRequest));
}

inline std::string Hex(const Report& report)
{
    std::string text;
    char byte[4];
    for (std::uint8_t b : report) {
        std::snprintf(byte, sizeof byte, "%02X ", b);
        text += byte;
    }
    return text;
}

// Waits until no report has been written to `node` for `quiet`: the program's
// read-outs at the scan have gone out and were answered.
inline bool WaitForQuietNode(const FakeHidDevice& node, std::chrono::milliseconds quiet, std::chrono::milliseconds timeout)
{
    std::size_t last = node.Written().size();
    auto since = Clock::now();
    return WaitUntil(
        [&] {
            const std::size_t now = node.Written().size();
            if (now != last) {
                last = now;
                since = Clock::now();
                return false;
            }
            return Clock::now() - since >= quiet;
        },
        timeout);
}

}  // namespace e2e
