// The window id block, one per user and display: a file in the user's
// runtime folder, or POSIX shared memory where there is none
// (hookmod/PosixHookBlockName.h).
//
// Another user must not reach into our block: it is made with O_EXCL and mode
// 0600; a block of that name that is already there is used only when this
// user owns it, and its mode is closed to others again. In the runtime folder
// no other user can make one first.
// The id is written with pwrite, never through a mapping, so a block that
// shrinks meanwhile cannot fault the program.
#include "capture/WindowIdBlock.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "hookmod/HookMessages.h"
#include "hookmod/PosixHookBlockName.h"

namespace capture {
namespace {

constexpr mode_t kOwnerOnly = 0600;

}  // namespace

WindowIdBlock::~WindowIdBlock()
{
    Close();
}

void WindowIdBlock::Close()
{
    if (fd_ >= 0)
        close(fd_);
    fd_ = -1;
}

WindowIdBlock::Result WindowIdBlock::Fail(Result result, std::string detail)
{
    detail_ = std::move(detail);
    return result;
}

WindowIdBlock::Result WindowIdBlock::Publish(std::string_view given, std::uint32_t windowId)
{
    Close();
    detail_.clear();
    const std::string name = given.empty() ? hookmsg::CurrentHookWindowBlockName() : std::string(given);

    int fd = hookmsg::OpenHookWindowBlock(name, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, kOwnerOnly);
    if (fd < 0 && errno == EEXIST)
        fd = hookmsg::OpenHookWindowBlock(name, O_RDWR | O_CLOEXEC | O_NOFOLLOW, 0);
    if (fd < 0)
        return Fail(Result::CreateFailed, name + ": " + std::strerror(errno));
    fd_ = fd;

    struct stat st {};
    if (fstat(fd, &st) != 0)
        return Fail(Result::CreateFailed, name + ": " + std::strerror(errno));
    if (!S_ISREG(st.st_mode) || st.st_uid != geteuid()) {
        Close();
        return Fail(Result::CreateFailed, name + ": belongs to another user");
    }
    if ((st.st_mode & 0777) != kOwnerOnly && fchmod(fd, kOwnerOnly) != 0)
        return Fail(Result::CreateFailed, name + ": " + std::strerror(errno));
    if (st.st_size < static_cast<off_t>(hookmsg::kHookWindowBlockSize) &&
        ftruncate(fd, hookmsg::kHookWindowBlockSize) != 0)
        return Fail(Result::CreateFailed, name + ": " + std::strerror(errno));

    if (pwrite(fd, &windowId, sizeof windowId, 0) != static_cast<ssize_t>(sizeof windowId))
        return Fail(Result::WriteFailed, name + ": " + std::strerror(errno));
    return Result::Ok;
}

}  // namespace capture
