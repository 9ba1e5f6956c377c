// Places inside the main window's client area, as the window lays them out.
#pragma once

#include "tests/e2e/harness/XClient.h"

namespace e2e {

constexpr Rect kKeyEdit{8 + 136, 120 + 80, 177, 25};   // RzEdit1 in the tab control at 8,120
constexpr Rect kWriteIn{224, 288, 89, 33};             // RzBitBtn1
constexpr Rect kStatusPicture{8 + 16, 8 + 56, 33, 33}; // Image1 / Image2 in the group box at 8,8
constexpr Rect kPedalCount{128, 288, 49, 26};          // RzSpinEdit1
// The second tab's header: tabs start at the tab control's left edge and are
// each wider than 55 and narrower than 95 pixels ("Pedal 1").
constexpr Rect kSecondTab{8 + 95, 120 + 4, 1, 14};
constexpr Rect kWholeWindow{0, 0, 426, 338};

// The title of the box that tells how a write-in went.
constexpr char kWriteInTitle[] = "Write in";

}  // namespace e2e
