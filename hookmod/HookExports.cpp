// The library's two exports. Everything else is hidden.
#include "hookmod/HookService.h"

namespace {

// Destroyed when the library is unloaded or the process exits; that ends
// and joins the hook thread.
hookmod::HookService g_service;

}  // namespace

extern "C" __attribute__((visibility("default"))) void HookOn(void) {
    g_service.On();
}

extern "C" __attribute__((visibility("default"))) void HookOff(void) {
    g_service.Off();
}
