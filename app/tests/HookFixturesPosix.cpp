#include "app/tests/HookFixtures.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include "hookmod/PosixHookBlockName.h"

namespace app::test {
namespace {

// A counter of the fixture loaded from `folder`; -1 while it is not loaded.
int FixtureCounter(const QString& folder, const char* name)
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

}  // namespace

QString RecordingHookFolder() { return QStringLiteral(APP_FIXTURE_DIR "/recording"); }
QString HookWithoutOffFolder() { return QStringLiteral(APP_FIXTURE_DIR "/without-off"); }

int HookOnCalls(const QString& folder) { return FixtureCounter(folder, "app_fixture_on_calls"); }
int HookOffCalls(const QString& folder) { return FixtureCounter(folder, "app_fixture_off_calls"); }

std::optional<std::uint32_t> BlockValue(const std::string& name)
{
    const int fd = hookmsg::OpenHookWindowBlock(name, O_RDONLY, 0);
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

std::string PrivateBlockName(const char* purpose)
{
    return "/varnok-app-test-" + std::to_string(getpid()) + "-" + purpose;
}

std::string UnusableBlockName()
{
    return "/no/such/block";   // a name with an inner slash is refused
}

void RemoveBlock(const std::string& name)
{
    hookmsg::RemoveHookWindowBlock(name);
}

}  // namespace app::test
