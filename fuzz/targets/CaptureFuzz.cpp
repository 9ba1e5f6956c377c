// Key capture and key entry driven by arbitrary press / release streams, with
// the window's wiring: the combination shown in the key edit box runs the key
// entry for the selected tab while the capture still holds its names.
// Input layout: pairs of bytes (operation, argument):
//   op % 5 == 0  press name[arg]        op % 5 == 1  release name[arg]
//   op % 5 == 2  hook key message, scan code arg, flags from op's high bits
//   op % 5 == 3  Windows / Application hook message
//   op % 5 == 4  select tab arg % 8
#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "capture/KeyCapture.h"
#include "capture/KeyEntry.h"
#include "fuzz/targets/FuzzCheck.h"
#include "hookmod/HookMessages.h"
#include "keys/KeyNameTable.h"
#include "keys/KeyNames.h"
#include "protocol/PedalConfigTable.h"

namespace {

std::vector<std::string> Names() {
  std::vector<std::string> names;
  for (const auto& row : keys::KeyNameTable) names.emplace_back(row.name);
  for (const char* extra : {"Left Windows", "Right Windows", "Application", "Key 5A", "Key E0 5A", "F13", ""})
    names.emplace_back(extra);
  return names;
}

bool IsUpperHexPair(const std::string& s) {
  if (s.size() != 2) return false;
  for (char c : s) {
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
  }
  return true;
}

struct Window {
  capture::KeyCapture capture;
  protocol::PedalConfigTable table;
  std::string keyEdit;
  std::string edit2;
  int tab = 0;
  int entries = 0;

  void Entry(const std::string& text) {
    if (text == keyEdit) return;  // no change, no handler
    keyEdit = text;
    const std::vector<std::string> held = capture.CapturedKeyList();
    // The combination shown is the held names joined by "+".
    std::string joined;
    for (std::size_t i = 0; i < held.size(); ++i) joined += (i ? "+" : "") + held[i];
    FUZZ_CHECK(joined == text);

    const std::optional<std::string> shown = capture::ApplyKeyEntry(text, tab, held, table);
    ++entries;
    FUZZ_CHECK(table.KeyText(tab) == text);
    FUZZ_CHECK(shown.has_value() == !held.empty());
    if (!shown) return;
    edit2 = *shown;

    std::uint8_t modifiers = 0;
    std::vector<std::uint8_t> keyCodes;
    for (const std::string& name : held) {
      const int n = keys::UsageNumber(name);
      if (n >= 1 && n <= 101) {
        if (keyCodes.size() < 3) keyCodes.push_back(static_cast<std::uint8_t>(n));
      } else if (n >= keys::kFirstModifierUsage && n <= keys::kLastModifierUsage) {
        modifiers = static_cast<std::uint8_t>(modifiers | (1u << (n - keys::kFirstModifierUsage)));
      }
    }
    keyCodes.resize(3, 0);
    for (int slot = 0; slot < 4; ++slot) FUZZ_CHECK(IsUpperHexPair(table.Slot(tab, slot)));
    FUZZ_CHECK(table.ByteOf(tab, 0) == modifiers);
    for (int k = 0; k < 3; ++k) FUZZ_CHECK(table.ByteOf(tab, k + 1) == keyCodes[static_cast<std::size_t>(k)]);
    // Edit2: "XX-XX-XX-XX", the row's joined slots.
    FUZZ_CHECK(edit2.size() == 11);
    for (std::size_t i = 0; i < edit2.size(); ++i) {
      if (i % 3 == 2) FUZZ_CHECK(edit2[i] == '-');
    }
    FUZZ_CHECK(edit2 == table.JoinedCodeText(tab));
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::vector<std::string> names = Names();
  Window w;
  w.capture.SetView(capture::CaptureView{[&w](const std::string& text) { w.Entry(text); }, nullptr, nullptr, nullptr});

  for (std::size_t i = 0; i + 1 < size; i += 2) {
    const std::uint8_t op = data[i];
    const std::uint8_t arg = data[i + 1];
    const int countBefore = w.capture.CaptureCount();
    switch (op % 5) {
      case 0:
        w.capture.Press(names[arg % names.size()]);
        FUZZ_CHECK(w.capture.CaptureCount() == static_cast<int>(w.capture.CapturedKeyList().size()));
        break;
      case 1:
        w.capture.Release(names[arg % names.size()]);
        break;
      case 2: {
        std::uint32_t lParam = 1u | (std::uint32_t{arg} << hookmsg::kScanCodeShift);
        if (op & 0x20) lParam |= hookmsg::kExtendedBit;
        if (op & 0x40) lParam |= hookmsg::kPreviousStateBit;
        if (op & 0x80) lParam |= hookmsg::kReleaseBit | hookmsg::kPreviousStateBit;
        FUZZ_CHECK(w.capture.HandleHookMessage(hookmsg::kHookKeyMessage, 0, lParam, (op & 0x10) == 0));
        if (op & 0x10) FUZZ_CHECK(w.capture.CaptureCount() == countBefore);  // inactive window
        break;
      }
      case 3: {
        static constexpr std::uint32_t kMessages[] = {hookmsg::kHookLeftWindows, hookmsg::kHookRightWindows,
                                                      hookmsg::kHookApplication};
        const std::uint32_t wParam = (arg & 1) ? hookmsg::kKeyUp : hookmsg::kKeyDown;
        FUZZ_CHECK(w.capture.HandleHookMessage(kMessages[(arg >> 1) % 3], wParam, 0, true));
        break;
      }
      default:
        w.tab = arg % protocol::PedalConfigTable::kRowCount;
        break;
    }
    const auto& held = w.capture.CapturedKeyList();
    FUZZ_CHECK(held.size() <= 3);
    FUZZ_CHECK(std::set<std::string>(held.begin(), held.end()).size() == held.size());
    FUZZ_CHECK(w.capture.CaptureCount() >= 0 && w.capture.CaptureCount() <= 3);
  }
  return 0;
}
