#include "capture/HookLibrary.h"
#include "capture/StartupMessages.h"

namespace capture {

std::string_view StartupMessage(HookLinkStatus status) {
    switch (status) {
        case HookLinkStatus::LibraryNotFound: return kHookLibraryNotFoundText;
        case HookLinkStatus::FunctionsMissing: return kHookFunctionsMissingText;
        case HookLinkStatus::BlockFailed: return kHookBlockFailedText;
        case HookLinkStatus::Ok:
        case HookLinkStatus::WindowIdNotWritten: break;
    }
    return {};
}

}  // namespace capture
