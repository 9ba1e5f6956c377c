// What the user is told when the platform refuses this user access to a
// pedal's device node, and how to grant it; and when a found pedal cannot
// be opened for another reason. How access is granted is the platform's:
// AccessAdviceUdev.cpp (Linux) and windows/AccessAdviceWindows.cpp.
#pragma once

#include <QString>

#include <cstdint>

namespace app {

// Caption of the warning shown when a scan finds such a pedal.
QString AccessAdviceCaption();
// The warning: the pedal was found but may not be opened, and what grants
// access.
QString AccessAdviceText();
// One sentence on how to grant access, for other messages.
QString GrantAccessHint();
// Whether an errno-style code says that access was refused.
bool IsAccessRefusal(int error);

// The warning for a pedal that was found but could not be opened for
// another reason than refused access (`error` errno-style, `native` the
// platform's own code behind it, 0 for none).
QString OpenFailureText(int error, std::uint32_t native = 0);
// Why a found pedal cannot be used, in a few words for the status line:
// "no access" for a refused permission, else the system's text.
QString UnusableReason(int error, std::uint32_t native = 0);

}  // namespace app
