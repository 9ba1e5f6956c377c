#include "capture/KeyCapture.h"

#include <algorithm>

#include "capture/KeyDataNames.h"
#include "hookmod/HookMessages.h"
#include "keys/KeyNames.h"

namespace capture {
namespace {

constexpr std::size_t kMaxKeys = 3;
constexpr int kTabUsage = 0x2B;
constexpr int kLeftShiftUsage = 0xE1, kRightShiftUsage = 0xE5;

}  // namespace

void KeyCapture::SetNaming(keys::KeyNaming naming) {
    for (std::string& name : list_)
        if (const int usage = naming_.Usage(name); keys::PedalCanHold(usage)) name = naming.Name(usage);
    naming_ = std::move(naming);
}

void KeyCapture::Reset() {
    list_.clear();
    pressedAt_.clear();
    count_ = 0;
}

void KeyCapture::Press(const std::string& name, std::chrono::steady_clock::time_point at) {
    if (std::find(list_.begin(), list_.end(), name) == list_.end()) {
        list_.push_back(name);
        pressedAt_.push_back(at);
    }
    if (list_.size() <= kMaxKeys) {
        count_ = static_cast<int>(list_.size());
    } else {
        Reset();
    }
}

bool KeyCapture::MovesTheFocus() const {
    bool tab = false;
    for (const std::string& name : list_) {
        const int usage = naming_.Usage(name);
        if (usage == kTabUsage)
            tab = true;
        else if (usage != kLeftShiftUsage && usage != kRightShiftUsage)
            return false;
    }
    return tab;
}

void KeyCapture::Show() {
    if (view_.fromPedal) {
        for (std::size_t i = 0; i < list_.size(); ++i)
            if (view_.fromPedal(list_[i], pressedAt_[i])) return;
    }
    if (MovesTheFocus()) return;
    for (const std::string& name : list_) {
        if (!keys::PedalCanHold(naming_.Usage(name))) {
            if (view_.refuse) view_.refuse(name);
            return;
        }
    }
    std::string combination;
    for (std::size_t i = 0; i < list_.size(); ++i) {
        if (i > 0) combination += '+';
        combination += list_[i];
    }
    if (view_.setKeyEditText) view_.setKeyEditText(combination);
    std::string codes;
    const std::size_t shown = std::min(static_cast<std::size_t>(count_), list_.size());
    for (std::size_t i = 0; i < shown; ++i) {
        if (i > 0) codes += '-';
        codes += std::to_string(naming_.Usage(list_[i]));
    }
    if (view_.setCodeEditText) view_.setCodeEditText(codes);
}

void KeyCapture::Release(std::string_view name) {
    if (list_.empty()) return;
    if (count_ >= 1 && count_ <= static_cast<int>(kMaxKeys)) Show();

    const auto it = std::find(list_.begin(), list_.end(), name);
    if (it == list_.end()) return;  // CaptureCount keeps its value
    pressedAt_.erase(pressedAt_.begin() + (it - list_.begin()));
    list_.erase(it);
    count_ = 0;
}

std::string KeyCapture::NameOf(std::uint32_t lParam) const {
    std::string name = KeyNameForMessage(lParam);
    if (const int usage = keys::UsageNumber(name); usage != 0) return naming_.Name(usage);
    return name;
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
                    Release(NameOf(lParam));
                else if (!(lParam & hookmsg::kPreviousStateBit))
                    Press(NameOf(lParam));
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
