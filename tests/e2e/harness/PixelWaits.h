// Waits on what the screen shows: a repaint, or pixels that hold still.
#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

#include "tests/e2e/harness/Process.h"
#include "tests/e2e/harness/XClient.h"

namespace e2e {

// Waits until the rectangle's pixels differ from `before` and then hold still
// for 300 ms (the repaint is complete).
inline bool WaitForRepaint(XClient& x, const Rect& r, const std::vector<std::uint8_t>& before,
                           std::chrono::milliseconds timeout)
{
    std::vector<std::uint8_t> last;
    auto stableSince = Clock::now();
    return WaitUntil(
        [&] {
            std::vector<std::uint8_t> now = x.Pixels(r);
            if (now == before) {
                last.clear();
                return false;
            }
            if (now != last) {
                last = std::move(now);
                stableSince = Clock::now();
                return false;
            }
            return Clock::now() - stableSince >= 300ms;
        },
        timeout);
}

// Waits until the rectangle's pixels hold still for `quiet`.
inline bool WaitForStillPixels(XClient& x, const Rect& r, std::chrono::milliseconds quiet,
                               std::chrono::milliseconds timeout)
{
    std::vector<std::uint8_t> last = x.Pixels(r);
    auto stableSince = Clock::now();
    return WaitUntil(
        [&] {
            std::vector<std::uint8_t> now = x.Pixels(r);
            if (now != last) {
                last = std::move(now);
                stableSince = Clock::now();
                return false;
            }
            return Clock::now() - stableSince >= quiet;
        },
        timeout);
}

}  // namespace e2e
