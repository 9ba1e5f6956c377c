#include "hookmod/WindowIdBlock.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "hookmod/HookMessages.h"
#include "hookmod/PosixHookBlockName.h"

namespace hookmod {

std::string HookWindowBlockName() {
#ifdef VARNOK_HOOK_TEST_BLOCK_ENV
    // Test builds only: the test process names a block of its own, so
    // parallel test runs and a running program never share one.
    const char* name = std::getenv(VARNOK_HOOK_TEST_BLOCK_ENV);
    return std::string(name != nullptr && *name != '\0' ? name : "/VarnokHookmodTest");
#else
    return hookmsg::CurrentHookWindowBlockName();
#endif
}

std::uint32_t ReadTargetWindowId(const std::string& blockName) {
    const int fd = hookmsg::OpenHookWindowBlock(blockName, O_RDONLY | O_CLOEXEC | O_NOFOLLOW, 0);
    if (fd < 0) return 0;
    // Keys go only to a window that this user named.
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != geteuid()) {
        close(fd);
        return 0;
    }
    unsigned char bytes[hookmsg::kHookWindowBlockSize];
    const ssize_t got = pread(fd, bytes, sizeof bytes, 0);
    close(fd);
    if (got != static_cast<ssize_t>(sizeof bytes)) return 0;
    std::uint32_t id = 0;
    std::memcpy(&id, bytes, sizeof id);
    return id;
}

}  // namespace hookmod
