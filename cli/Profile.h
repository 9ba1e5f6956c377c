// The pedal profile file:
//   {"serial":"VK0001","pedals":[{"pedal":1,"keys":"Ctrl+C","bytes":"01-06-00-00"},...]}.
// Text in, text out: no files, no streams, no toolkit, so the window can use
// it as the command line does.
//
// "serial" is the serial number of the pedal the profile was taken from;
// optional, a string when given.
// Pedal numbers are 1-based. On reading, an entry needs "keys" or "bytes";
// with both, "keys" must describe the same bytes (either the exact display
// text of those bytes or a combination that gives them). Unknown members of
// an entry are refused (a misspelt "keys" would otherwise be lost); unknown
// members of the document are ignored. A member given twice in one object,
// nesting deeper than 32 levels and a document that is not UTF-8 JSON are
// refused; a UTF-8 byte-order mark at the start is skipped. Errors that have
// a place in the text start with its line: "line 3: pedal 2: ...".
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/KeyCombination.h"

namespace cli {

inline constexpr int kMaxPedals = 3;

struct ProfileEntry {
  int pedal = 0;  // 1-based
  PedalBytes bytes{};
  int line = 0;  // where the entry starts in the text read (0: not read from a text)
};

struct ProfileParseResult {
  bool ok = false;
  std::vector<ProfileEntry> entries;  // in file order, each pedal at most once; empty when !ok
  std::optional<std::string> serial;  // as the file gives it; empty when !ok
  std::string error;
  int line = 0;  // of the error; 0 when it concerns the whole document
};

// Which codes the key slots may hold. Any code parses back what a read-out
// showed; the window takes only the keys of the key table, as its capture
// does (0 and FF are no key in either case).
enum class KeySlotRule { AnyCode, KeyTableOnly };

ProfileParseResult ParseProfile(std::string_view text, KeySlotRule rule = KeySlotRule::AnyCode);

// One entry per pedal, with its display text and bytes, one entry a line;
// the serial number first when there is one.
std::string ProfileJson(const std::vector<ProfileEntry>& entries, std::string_view serial = {});
// The "pedals" array alone (for documents that carry more members).
std::string PedalsArrayJson(const std::vector<ProfileEntry>& entries);

// `text` as a JSON string literal, quotes included; bytes that are not UTF-8
// become U+FFFD.
std::string JsonQuote(std::string_view text);

}  // namespace cli
