// The fixture hook libraries built with the tests, and the calls they saw.
#pragma once

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <QString>

#include <cstdint>
#include <optional>
#include <string>

namespace app::test {

inline QString RecordingHookFolder() { return QStringLiteral(APP_FIXTURE_DIR "/recording"); }
inline QString HookWithoutOffFolder() { return QStringLiteral(APP_FIXTURE_DIR "/without-off"); }

// A counter of the fixture loaded from `folder`; -1 while it is not loaded.
inline int FixtureCounter(const QString& folder, const char* name)
{
    const std::string path = folder.toStdString() + "/libHookmod.so";
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle == nullptr)
        return -1;
    const auto* counter = static_cast<const int*>(dlsym(handle, name));
    const int value = counter != nullptr ? *counter : -1;
    dlclose(handle);
    return value;
}

inline int HookOnCalls(const QString& folder) { return FixtureCounter(folder, "app_fixture_on_calls"); }
inline int HookOffCalls(const QString& folder) { return FixtureCounter(folder, "app_fixture_off_calls"); }

// The 32-bit number at the start of a shared block; nothing when the block
// does not exist.
inline std::optional<std::uint32_t> BlockValue(const std::string& name)
{
    const int fd = shm_open(name.c_str(), O_RDONLY, 0);
    if (fd < 0)
        return std::nullopt;
    std::optional<std::uint32_t> value;
    void* view = mmap(nullptr, sizeof(std::uint32_t), PROT_READ, MAP_SHARED, fd, 0);
    if (view != MAP_FAILED) {
        value = *static_cast<const std::uint32_t*>(view);
        munmap(view, sizeof(std::uint32_t));
    }
    close(fd);
    return value;
}

// A block name of this test process only.
inline std::string PrivateBlockName(const char* purpose)
{
    return "/varnok-app-test-" + std::to_string(getpid()) + "-" + purpose;
}

}  // namespace app::test
