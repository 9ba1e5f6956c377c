// Name of the POSIX shared memory block through which the program tells the
// hook library its window id. One block per user and X display, so that
// users, sessions and test runs never share one:
//   "/TestHook-<effective uid>-<DISPLAY>"   e.g. "/TestHook-1000-:0"
// A slash in the display name becomes '_' (a block name has one slash, at
// its start). The program and the hook library both take the name from here.
// POSIX only; on Windows the block is the session's "Local\TestHook" mapping.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <string>
#include <string_view>

#include "hookmod/HookMessages.h"

namespace hookmsg {

inline std::string HookWindowBlockName(unsigned long uid, std::string_view display)
{
    std::string name = std::string("/") + kHookWindowBlockBase + "-" + std::to_string(uid) + "-";
    for (char c : display)
        name += c == '/' ? '_' : c;
    return name;
}

// The block of this process's user on the display named by DISPLAY.
inline std::string CurrentHookWindowBlockName()
{
    const char* display = std::getenv("DISPLAY");
    return HookWindowBlockName(static_cast<unsigned long>(geteuid()), display != nullptr ? display : "");
}

}  // namespace hookmsg
