// Where the program tells the hook library its window id on POSIX systems.
// One block per user and X display, in a place no other user can take first:
//   - the user's runtime folder (XDG_RUNTIME_DIR, when it is an absolute path
//     to a folder of this user that is closed to others):
//       "<XDG_RUNTIME_DIR>/TestHook-<DISPLAY>"   e.g. "/run/user/1000/TestHook-:0"
//     a plain file;
//   - otherwise POSIX shared memory named by the user and display:
//       "/TestHook-<effective uid>-<DISPLAY>"   e.g. "/TestHook-1000-:0"
//     Another user can create that name first; the program then refuses it
//     (it is not theirs) and says so at start-up.
// A slash in the display name becomes '_'. A name with a slash after its
// first character is a file, one without is a shared memory block. The
// program and the hook library both take the name, and open it, from here.
// On Windows the block is the session's "Local\TestHook" mapping.
#pragma once

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <string_view>

#include "hookmod/HookMessages.h"

namespace hookmsg {

// `runtimeDir`: the user's private runtime folder, empty when there is none.
inline std::string HookWindowBlockName(unsigned long uid, std::string_view display,
                                       std::string_view runtimeDir = {})
{
    std::string name = runtimeDir.empty()
        ? std::string("/") + kHookWindowBlockBase + "-" + std::to_string(uid) + "-"
        : std::string(runtimeDir) + "/" + kHookWindowBlockBase + "-";
    for (char c : display)
        name += c == '/' ? '_' : c;
    return name;
}

// XDG_RUNTIME_DIR when it is an absolute path to a folder of this user that
// no one else may enter; empty otherwise.
inline std::string PrivateRuntimeDir()
{
    const char* dir = std::getenv("XDG_RUNTIME_DIR");
    if (dir == nullptr || dir[0] != '/')
        return {};
    struct stat st {};
    if (stat(dir, &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != geteuid() || (st.st_mode & 077) != 0)
        return {};
    std::string path(dir);
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// The block of this process's user on the display named by DISPLAY.
inline std::string CurrentHookWindowBlockName()
{
    const char* display = std::getenv("DISPLAY");
    return HookWindowBlockName(static_cast<unsigned long>(geteuid()), display != nullptr ? display : "",
                               PrivateRuntimeDir());
}

inline bool IsFileBlock(std::string_view name)
{
    return name.size() > 1 && name.find('/', 1) != std::string_view::npos;
}

// open() for a file block, shm_open() for a shared memory block.
inline int OpenHookWindowBlock(const std::string& name, int flags, mode_t mode)
{
    return IsFileBlock(name) ? open(name.c_str(), flags, mode) : shm_open(name.c_str(), flags, mode);
}

inline int RemoveHookWindowBlock(const std::string& name)
{
    return IsFileBlock(name) ? unlink(name.c_str()) : shm_unlink(name.c_str());
}

}  // namespace hookmsg
