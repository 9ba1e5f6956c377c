// The profile reader on any file: it never crashes or hangs, a refused file
// gives no entries at all (so nothing of a table can change), and what it
// accepts is written back as a file that reads to the same entries.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "cli/Profile.h"
#include "fuzz/targets/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const cli::ProfileParseResult r = cli::ParseProfile(text);
  // The window's stricter rule takes a part of what the command line takes, read alike.
  const cli::ProfileParseResult strict = cli::ParseProfile(text, cli::KeySlotRule::KeyTableOnly);
  FUZZ_CHECK(!strict.ok || (r.ok && strict.entries.size() == r.entries.size() && strict.serial == r.serial));
  if (!r.ok) {
    FUZZ_CHECK(r.entries.empty());
    FUZZ_CHECK(!r.serial);
    FUZZ_CHECK(!r.error.empty());
    return 0;
  }
  FUZZ_CHECK(!r.entries.empty() && r.entries.size() <= static_cast<std::size_t>(cli::kMaxPedals));
  bool seen[cli::kMaxPedals + 1] = {};
  for (const cli::ProfileEntry& e : r.entries) {
    FUZZ_CHECK(e.pedal >= 1 && e.pedal <= cli::kMaxPedals);
    FUZZ_CHECK(!seen[e.pedal]);
    seen[e.pedal] = true;
  }
  const cli::ProfileParseResult back = cli::ParseProfile(cli::ProfileJson(r.entries, r.serial.value_or("")));
  FUZZ_CHECK(back.ok);
  FUZZ_CHECK(back.serial.value_or("") == r.serial.value_or(""));
  FUZZ_CHECK(back.entries.size() == r.entries.size());
  for (std::size_t i = 0; i < r.entries.size(); ++i) {
    FUZZ_CHECK(back.entries[i].pedal == r.entries[i].pedal);
    FUZZ_CHECK(back.entries[i].bytes == r.entries[i].bytes);
  }
  return 0;
}
