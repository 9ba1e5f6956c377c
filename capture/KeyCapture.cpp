#include "capture/KeyCapture.h"

#include <algorithm>

#include "capture/KeyDataNames.h"
#include "hookmod/HookMessages.h"
#include "keys/KeyNames.h"

namespace capture {
namespace {

constexpr std::size_t kMaxKeys = 3;

}  // namespace

void KeyCapture::Reset() {
    list_.clear();
    count_ = 0;
}

void KeyCapture::Press(const std::string& name) {
    if (std::find(list_.begin(), list_.end(), name) == list_.end()) list_.push_back(name);
    if (list_.size() <= kMaxKeys) {
        count_ = static_cast<int>(list_.size());
    } else {
        list_.clear();
        count_ = 0;
    }
}

void KeyCapture::Release(std::string_view name) {
    if (list_.empty()) return;

    std::string combination;
    for (std::size_t i = 0; i < list_.size(); ++i) {
        if (i > 0) combination += '+';
        combination += list_[i];
    }

    if (count_ >= 1 && count_ <= static_cast<int>(kMaxKeys)) {
        if (view_.setKeyEditText) view_.setKeyEditText(combination);
        std::string codes;
        std::string number;
        const std::size_t shown = std::min(static_cast<std::size_t>(count_), list_.size());
        for (std::size_t i = 0; i < shown; ++i) {
            keys::changekey(list_[i], number);
            if (i > 0) codes += '-';
            codes += number;
        }
        if (view_.setCodeEditText) view_.setCodeEditText(codes);
    }

    const auto it = std::find(list_.begin(), list_.end(), name);
    if (it == list_.end()) return;  // CaptureCount keeps its value
    list_.erase(it);
    count_ = 0;
}

void KeyCapture::HandleNamedKey(const std::string& name, std::uint32_t wParam) {
    if (wParam == hookmsg::kKeyDown)
        Press(name);
    else if (wParam == hookmsg::kKeyUp)
        Release(name);
}

bool KeyCapture::HandleHookMessage(std::uint32_t message, std::uint32_t wParam,
                                   std::uint32_t lParam, bool windowActive) {
    if (!hookmsg::IsHookMessage(message)) return false;
    if (!windowActive) return true;
    try {
        switch (message) {
            case hookmsg::kHookKeyMessage:
                if (lParam & hookmsg::kReleaseBit)
                    Release(KeyNameForMessage(lParam));
                else if (!(lParam & hookmsg::kPreviousStateBit))
                    Press(KeyNameForMessage(lParam));
                break;  // a press of a key already down is auto-repeat
            case hookmsg::kHookLeftWindows:
                HandleNamedKey("Left Windows", wParam);
                break;
            case hookmsg::kHookRightWindows:
                HandleNamedKey("Right Windows", wParam);
                break;
            case hookmsg::kHookApplication:
                HandleNamedKey("Application", wParam);
                break;
        }
    } catch (...) {
        // The handling ends silently, as every hook message handler does.
    }
    return true;
}

}  // namespace capture
