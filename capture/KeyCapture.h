// The combination the user holds down while the key edit box has the focus.
// Fed with the hook's messages (see hookmod/HookMessages.h); on the first
// release after the last press it shows the combination through the window's
// callbacks.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "keys/KeyNaming.h"

namespace capture {

// What the capture shows. Unset callbacks are skipped.
struct CaptureView {
    // Sets the key edit box's text. The window's change handler runs the key
    // entry from inside this call, while CapturedKeyList() still holds every
    // name of the combination.
    std::function<void(const std::string&)> setKeyEditText;
    // Sets the diagnostic field with the usage numbers, e.g. "224-4".
    std::function<void(const std::string&)> setCodeEditText;
    // Says why a combination was not shown: it holds a key the pedal cannot
    // be given, named here ("F13"); the window words the refusal. The key
    // edit box and the row keep what they had.
    std::function<void(const std::string&)> refuse;
    // True when the key `name`, pressed at `pressedAt`, was typed by the
    // pedal itself: a combination holding such a key is not shown, so that
    // trying the pedal does not bring its old keys back into the box.
    std::function<bool(const std::string& name, std::chrono::steady_clock::time_point pressedAt)> fromPedal;
};

class KeyCapture {
public:
    explicit KeyCapture(CaptureView view = {}) : view_(std::move(view)) {}

    void SetView(CaptureView view) { view_ = std::move(view); }

    // The names keys are captured by: the table's until a layout's are
    // given. Keys held at the change are renamed, so their releases match.
    void SetNaming(keys::KeyNaming naming);
    const keys::KeyNaming& Naming() const { return naming_; }

    // Names of the held keys in press order: no name twice, at most three.
    const std::vector<std::string>& CapturedKeyList() const { return list_; }
    // Keys in the combination (1..3) after a press; 0 after a fourth key or
    // a release that showed the combination.
    int CaptureCount() const { return count_; }

    // Empties the list and the count: a combination starts afresh each time
    // the hook goes on, and nothing held outlives the hook going off.
    void Reset();

    // The press and release rules for one key name. A key's name is its
    // position named by Naming(), or, for a key with no position the pedal
    // holds, the key data's own name ("F13").
    void Press(const std::string& name,
               std::chrono::steady_clock::time_point at = std::chrono::steady_clock::now());
    void Release(std::string_view name);

    // Handles one hook message. Returns false when `message` is none of the
    // four hook messages. Ignored when the window is not active; a failure
    // inside the handling (a callback that throws) ends it silently.
    bool HandleHookMessage(std::uint32_t message, std::uint32_t wParam, std::uint32_t lParam,
                           bool windowActive);

private:
    void HandleNamedKey(const std::string& name, std::uint32_t wParam);
    std::string NameOf(std::uint32_t lParam) const;
    void Show();
    // Tab or Shift+Tab: the box hands the focus on, and the hook's reports
    // of the keys may come before the focus has moved. No combination.
    bool MovesTheFocus() const;

    CaptureView view_;
    keys::KeyNaming naming_;
    std::vector<std::string> list_;
    std::vector<std::chrono::steady_clock::time_point> pressedAt_;   // one per list_ entry
    int count_ = 0;
};

}  // namespace capture
