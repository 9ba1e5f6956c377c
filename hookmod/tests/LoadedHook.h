// A hook library opened with dlopen for one test and closed again after it,
// so every test starts from a freshly loaded library.
#pragma once

#include <dlfcn.h>

namespace hooktest {

class LoadedHook {
public:
    explicit LoadedHook(const char* path) : handle_(dlopen(path, RTLD_NOW | RTLD_LOCAL)) {
        if (handle_ != nullptr) {
            on_ = reinterpret_cast<void (*)()>(dlsym(handle_, "HookOn"));
            off_ = reinterpret_cast<void (*)()>(dlsym(handle_, "HookOff"));
        }
    }
    ~LoadedHook() { Unload(); }
    LoadedHook(const LoadedHook&) = delete;
    LoadedHook& operator=(const LoadedHook&) = delete;

    bool ok() const { return on_ != nullptr && off_ != nullptr; }
    void* handle() const { return handle_; }
    void On() const { on_(); }
    void Off() const { off_(); }
    void Unload() {
        if (handle_ != nullptr) dlclose(handle_);
        handle_ = nullptr;
        on_ = off_ = nullptr;
    }

private:
    void* handle_;
    void (*on_)() = nullptr;
    void (*off_)() = nullptr;
};

}  // namespace hooktest
