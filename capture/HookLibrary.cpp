#include "capture/HookLibrary.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace capture {

const char HookLibrary::kLibraryFileName[] = "libHookmod.so";

HookLibrary::~HookLibrary() {
    // The library stays loaded: its thread may still run until process exit.
    if (blockFd_ >= 0) close(blockFd_);
}

HookLinkStatus HookLibrary::Fail(HookLinkStatus status, std::string detail) {
    detail_ = std::move(detail);
    return status;
}

HookLinkStatus HookLibrary::Load(const std::string& folder, std::uint32_t windowId,
                                 std::string_view blockName) {
    detail_.clear();
    hookOn_ = hookOff_ = nullptr;
    if (blockFd_ >= 0) {
        close(blockFd_);
        blockFd_ = -1;
    }

    const std::string path = folder + "/" + kLibraryFileName;
    library_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library_ == nullptr) {
        const char* why = dlerror();
        return Fail(HookLinkStatus::LibraryNotFound, why ? why : path);
    }

    void* on = dlsym(library_, "HookOn");
    void* off = dlsym(library_, "HookOff");
    if (on == nullptr || off == nullptr)
        return Fail(HookLinkStatus::FunctionsMissing,
                    std::string(on == nullptr ? "HookOn" : "HookOff") + " missing in " + path);
    // Both or neither: a HookOn that could never be switched off is not kept.
    hookOn_ = reinterpret_cast<void (*)()>(on);
    hookOff_ = reinterpret_cast<void (*)()>(off);

    const std::string name(blockName.empty() ? hookmsg::kHookWindowBlockName : blockName);
    const int fd = shm_open(name.c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0) return Fail(HookLinkStatus::BlockFailed, std::strerror(errno));
    struct stat st {};
    if (fstat(fd, &st) != 0 ||
        (st.st_size < static_cast<off_t>(hookmsg::kHookWindowBlockSize) &&
         ftruncate(fd, hookmsg::kHookWindowBlockSize) != 0)) {
        const int err = errno;
        close(fd);
        return Fail(HookLinkStatus::BlockFailed, std::strerror(err));
    }
    blockFd_ = fd;

    void* view = mmap(nullptr, hookmsg::kHookWindowBlockSize, PROT_READ | PROT_WRITE,
                      MAP_SHARED, fd, 0);
    if (view == MAP_FAILED)
        return Fail(HookLinkStatus::WindowIdNotWritten, std::strerror(errno));
    std::memcpy(view, &windowId, sizeof windowId);
    munmap(view, hookmsg::kHookWindowBlockSize);
    return HookLinkStatus::Ok;
}

void HookLibrary::CallHookOn() const {
    if (HasHooks()) hookOn_();
}

void HookLibrary::CallHookOff() const {
    if (HasHooks()) hookOff_();
}

}  // namespace capture
