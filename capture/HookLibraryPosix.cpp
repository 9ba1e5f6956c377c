// The hook library link on POSIX systems: libHookmod.so through dlopen.
#include <dlfcn.h>

#include <cstring>

#include "capture/HookLibrary.h"

namespace capture {

const char HookLibrary::kLibraryFileName[] = "libHookmod.so";

void* HookLibrary::OpenLibrary(const std::string& folder, std::string& path, std::string& error) {
    path = folder + "/" + kLibraryFileName;
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* why = dlerror();
        error = why ? why : path;
    }
    return library;
}

HookLibrary::HookFunction HookLibrary::Export(void* library, const char* name) {
    return reinterpret_cast<HookFunction>(dlsym(library, name));
}

std::string HookLibrary::HookErrorText(unsigned long code) {
    return std::strerror(static_cast<int>(code));
}

}  // namespace capture
