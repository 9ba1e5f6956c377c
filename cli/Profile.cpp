#include "cli/Profile.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <iterator>
#include <set>

#include <nlohmann/json.hpp>

#include "cli/Messages.h"
#include "keys/KeyNameTable.h"
#include "keys/KeyNaming.h"

namespace cli {

namespace {

using Json = nlohmann::ordered_json;

constexpr int kMaxDepth = 32;

bool Refuse(ProfileParseResult& result, const std::string& message, int line = 0) {
  result.ok = false;
  result.entries.clear();
  result.serial.reset();
  result.line = line;
  result.error = line > 0 ? Fill(translate("Profile", "line %1: %2"), {std::to_string(line), message}) : message;
  return false;
}

// The line of the byte at `offset` (lines end at "\n").
int LineAt(std::string_view text, std::size_t offset) {
  offset = std::min(offset, text.size());
  return 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
}

// Walks the text for the reader and notes the last byte it took, so that the
// reader's events can be placed: an event comes right after the byte that
// ends its token ('{', a closing quote), one byte later for a number.
class NotingIterator {
 public:
  using iterator_category = std::input_iterator_tag;
  using value_type = char;
  using difference_type = std::ptrdiff_t;
  using pointer = const char*;
  using reference = const char&;

  NotingIterator(const char* at, const char** last) : at_(at), last_(last) {}
  reference operator*() const {
    *last_ = at_;
    return *at_;
  }
  NotingIterator& operator++() {
    ++at_;
    return *this;
  }
  NotingIterator operator++(int) {
    NotingIterator before = *this;
    ++at_;
    return before;
  }
  bool operator==(const NotingIterator& other) const { return at_ == other.at_; }

 private:
  const char* at_;
  const char** last_;
};

// Where the parts of the document that errors name begin.
struct Places {
  int serial = 0;                // the "serial" member
  int pedals = 0;                // the "pedals" member
  std::vector<int> entries;      // each element of "pedals"
};

// Parses `text`, refusing duplicate member names and deep nesting, which the
// library itself accepts, and notes the lines of the parts in `places`.
bool ParseDocument(std::string_view text, Json& doc, Places& places, std::string& error, int& errorLine) {
  std::vector<std::set<std::string>> names;  // member names seen, by object depth
  std::vector<bool> inArray;                 // the open containers, outermost first
  std::string topMember;                     // the member of the document being read
  std::string duplicate;
  int duplicateLine = 0;
  bool tooDeep = false;
  int tooDeepLine = 0;
  const char* last = text.data();
  const auto lineNow = [&] { return LineAt(text, static_cast<std::size_t>(last - text.data())); };
  // An element of the document's "pedals" array begins.
  const auto noteEntry = [&](int depth) {
    if (depth == 2 && topMember == "pedals" && inArray.size() >= 2 && inArray[1]) places.entries.push_back(lineNow());
  };
  auto check = [&](int depth, Json::parse_event_t event, Json& parsed) {
    const auto level = static_cast<std::size_t>(depth);
    switch (event) {
      case Json::parse_event_t::object_start:
      case Json::parse_event_t::array_start:
        if (depth >= kMaxDepth) {
          if (!tooDeep) tooDeepLine = lineNow();
          tooDeep = true;
          return false;  // not kept: the nested values are dropped as read
        }
        noteEntry(depth);
        inArray.resize(level);
        inArray.push_back(event == Json::parse_event_t::array_start);
        if (event == Json::parse_event_t::object_start) {
          names.resize(level + 2);
          names[level + 1].clear();
        }
        return true;
      case Json::parse_event_t::key:
        if (!parsed.is_string()) return true;
        if (level < names.size() && !names[level].insert(parsed.get<std::string>()).second && duplicate.empty()) {
          duplicate = parsed.get<std::string>();
          duplicateLine = lineNow();
        }
        if (depth == 1) {
          topMember = parsed.get<std::string>();
          if (topMember == "serial") places.serial = lineNow();
          if (topMember == "pedals") places.pedals = lineNow();
        }
        return true;
      case Json::parse_event_t::value:
        noteEntry(depth);
        return true;
      default:
        return true;
    }
  };
  try {
    doc = Json::parse(NotingIterator(text.data(), &last), NotingIterator(text.data() + text.size(), &last), check);
  } catch (const Json::parse_error& e) {
    // what() is "[json.exception.parse_error.101] parse error at line 1, column 9: ...";
    // the line is taken from the byte count.
    const std::string what = e.what();
    const auto column = what.find("column ");
    const auto reason = column == std::string::npos ? std::string::npos : what.find(": ", column);
    error = reason == std::string::npos ? what : what.substr(reason + 2);
    errorLine = LineAt(text, e.byte > 0 ? e.byte - 1 : 0);
    return false;
  } catch (const Json::exception& e) {
    const std::string what = e.what();
    const auto close = what.find("] ");
    error = close == std::string::npos ? what : what.substr(close + 2);
    errorLine = lineNow();
    return false;
  }
  if (tooDeep) {
    error = Fill(translate("Profile", "nested deeper than %1 levels"), {std::to_string(kMaxDepth)});
    errorLine = tooDeepLine;
    return false;
  }
  if (!duplicate.empty()) {
    error = Fill(translate("Profile", "member %1 given twice in one object"), {JsonQuote(duplicate)});
    errorLine = duplicateLine;
    return false;
  }
  return true;
}

bool IsPedalNumber(const Json& value) {
  if (!value.is_number()) return false;
  const double n = value.get<double>();
  return n == std::floor(n) && n >= 1 && n <= kMaxPedals;
}

// A key slot code the rule does not allow: 1..FE outside the key rows.
bool AllowedInKeySlot(std::uint8_t code, KeySlotRule rule) {
  if (rule == KeySlotRule::AnyCode || code == 0 || code == 0xFF) return true;
  return keys::PedalCanHold(code) && code < keys::kFirstNonKeyUsage;
}

bool ParseEntry(const Json& item, std::size_t position, int line, KeySlotRule rule, ProfileParseResult& result) {
  const auto Refuse = [&result, line](const std::string& message) { return cli::Refuse(result, message, line); };
  const std::string entryNumber = std::to_string(position + 1);
  if (!item.is_object())
    return Refuse(Fill(translate("Profile", "entry %1 of \"pedals\" is not an object"), {entryNumber}));
  for (const auto& [name, value] : item.items()) {
    if (name != "pedal" && name != "keys" && name != "bytes") {
      return Refuse(
          Fill(translate("Profile", "entry %1 of \"pedals\": unknown member %2 (allowed: pedal, keys, bytes)"),
               {entryNumber, JsonQuote(name)}));
    }
  }
  const auto pedal = item.find("pedal");
  if (pedal == item.end() || !IsPedalNumber(*pedal)) {
    return Refuse(Fill(translate("Profile", "entry %1 of \"pedals\": \"pedal\" must be a number from 1 to %2"),
                       {entryNumber, std::to_string(kMaxPedals)}));
  }
  ProfileEntry entry;
  entry.pedal = static_cast<int>(pedal->get<double>());
  entry.line = line;
  const std::string pedalNumber = std::to_string(entry.pedal);
  for (const ProfileEntry& seen : result.entries) {
    if (seen.pedal == entry.pedal) return Refuse(Fill(translate("Profile", "pedal %1 appears twice"), {pedalNumber}));
  }
  const auto keysValue = item.find("keys");
  const auto bytesValue = item.find("bytes");
  const bool hasKeys = keysValue != item.end();
  const bool hasBytes = bytesValue != item.end();
  if (!hasKeys && !hasBytes)
    return Refuse(Fill(translate("Profile", "pedal %1: needs \"keys\" or \"bytes\""), {pedalNumber}));
  if (hasKeys && !keysValue->is_string())
    return Refuse(Fill(translate("Profile", "pedal %1: \"keys\" must be a string"), {pedalNumber}));
  if (hasBytes && !bytesValue->is_string())
    return Refuse(Fill(translate("Profile", "pedal %1: \"bytes\" must be a string"), {pedalNumber}));
  const std::string keys = hasKeys ? keysValue->get<std::string>() : std::string();
  if (hasBytes) {
    const std::string bytes = bytesValue->get<std::string>();
    if (!ParseBytesText(bytes, entry.bytes)) {
      return Refuse(Fill(translate("Profile", "pedal %1: bad \"bytes\" %2 (expected e.g. \"01-06-00-00\")"),
                         {pedalNumber, JsonQuote(bytes)}));
    }
    if (hasKeys && keys != DisplayText(entry.bytes)) {
      const KeyParseResult parsed = ParseKeyCombination(keys);
      if (!parsed.ok || parsed.bytes != entry.bytes) {
        return Refuse(
            Fill(translate("Profile", "pedal %1: \"keys\" %2 and \"bytes\" %3 disagree (edit one and drop the other)"),
                 {pedalNumber, JsonQuote(keys), JsonQuote(bytes)}));
      }
    }
  } else {
    const KeyParseResult parsed = ParseKeyCombination(keys);
    if (!parsed.ok) return Refuse(Fill(translate("Profile", "pedal %1: %2"), {pedalNumber, parsed.error}));
    entry.bytes = parsed.bytes;
  }
  for (std::size_t slot = 1; slot < entry.bytes.size(); ++slot) {
    if (!AllowedInKeySlot(entry.bytes[slot], rule)) {
      return Refuse(
          Fill(translate("Profile", "pedal %1: key %2 cannot be given to the pedal (it is not in the key table)"),
               {pedalNumber, JsonQuote(keys::TableNaming().KeySlotName(entry.bytes[slot]))}));
    }
  }
  result.entries.push_back(entry);
  return true;
}

}  // namespace

ProfileParseResult ParseProfile(std::string_view text, KeySlotRule rule) {
  ProfileParseResult result;
  Json doc;
  Places places;
  std::string error;
  int errorLine = 0;
  if (!ParseDocument(text, doc, places, error, errorLine)) {
    Refuse(result, Fill(translate("Profile", "not valid JSON: %1"), {error}), errorLine);
    return result;
  }
  if (!doc.is_object()) {
    Refuse(result, translate("Profile", "the profile must be a JSON object with a \"pedals\" array"));
    return result;
  }
  if (const auto serial = doc.find("serial"); serial != doc.end()) {
    if (!serial->is_string()) {
      Refuse(result, translate("Profile", "\"serial\" must be a string"), places.serial);
      return result;
    }
    result.serial = serial->get<std::string>();
  }
  const auto pedals = doc.find("pedals");
  if (pedals == doc.end() || !pedals->is_array()) {
    Refuse(result, translate("Profile", "the profile has no \"pedals\" array"), places.pedals);
    return result;
  }
  if (pedals->empty()) {
    Refuse(result, translate("Profile", "the \"pedals\" array is empty"), places.pedals);
    return result;
  }
  for (std::size_t i = 0; i < pedals->size(); ++i) {
    const int line = i < places.entries.size() ? places.entries[i] : places.pedals;
    if (!ParseEntry((*pedals)[i], i, line, rule, result)) return result;
  }
  result.ok = true;
  return result;
}

std::string JsonQuote(std::string_view text) {
  return Json(std::string(text)).dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string PedalsArrayJson(const std::vector<ProfileEntry>& entries) {
  std::string out = "[";
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const ProfileEntry& e = entries[i];
    const Json entry = {{"pedal", e.pedal}, {"keys", DisplayText(e.bytes)}, {"bytes", BytesText(e.bytes)}};
    out += i == 0 ? "\n    " : ",\n    ";
    out += entry.dump(-1, ' ', false, Json::error_handler_t::replace);
  }
  out += entries.empty() ? "]" : "\n  ]";
  return out;
}

std::string ProfileJson(const std::vector<ProfileEntry>& entries, std::string_view serial) {
  const std::string serialMember = serial.empty() ? std::string() : "\n  \"serial\": " + JsonQuote(serial) + ",";
  return "{" + serialMember + "\n  \"pedals\": " + PedalsArrayJson(entries) + "\n}\n";
}

}  // namespace cli
