// The library's two exports. Everything else is hidden.
#include "hookmod/HookService.h"

namespace {

// Destroyed when the library is unloaded or the process exits; that ends
// and joins the hook thread.
hookmod::HookService g_service;

}  // namespace

// Nothing may be thrown into the caller, which is C. A failure to allocate
// or to lock leaves the hook off; the next call tries again.
extern "C" __attribute__((visibility("default"))) void HookOn(void) noexcept {
    try {
        g_service.On();
    } catch (...) {
    }
}

extern "C" __attribute__((visibility("default"))) void HookOff(void) noexcept {
    try {
        g_service.Off();
    } catch (...) {
    }
}
