#include "cli/Profile.h"

#include <cmath>
#include <set>

#include <nlohmann/json.hpp>

namespace cli {

namespace {

using Json = nlohmann::ordered_json;

constexpr int kMaxDepth = 32;

bool Refuse(ProfileParseResult& result, const std::string& message) {
  result.ok = false;
  result.entries.clear();
  result.error = message;
  return false;
}

// Parses `text`, refusing duplicate member names and deep nesting, which the
// library itself accepts.
bool ParseDocument(std::string_view text, Json& doc, std::string& error) {
  std::vector<std::set<std::string>> names;  // member names seen, by object depth
  std::string duplicate;
  bool tooDeep = false;
  auto check = [&](int depth, Json::parse_event_t event, Json& parsed) {
    const auto level = static_cast<std::size_t>(depth);
    switch (event) {
      case Json::parse_event_t::object_start:
      case Json::parse_event_t::array_start:
        if (depth >= kMaxDepth) {
          tooDeep = true;
          return false;  // not kept: the nested values are dropped as read
        }
        if (event == Json::parse_event_t::object_start) {
          names.resize(level + 2);
          names[level + 1].clear();
        }
        return true;
      case Json::parse_event_t::key:
        if (level < names.size() && parsed.is_string() && !names[level].insert(parsed.get<std::string>()).second &&
            duplicate.empty()) {
          duplicate = parsed.get<std::string>();
        }
        return true;
      default:
        return true;
    }
  };
  try {
    doc = Json::parse(text.begin(), text.end(), check);
  } catch (const Json::exception& e) {
    // what() is "[json.exception.parse_error.101] parse error at line 1, column 9: ...".
    const std::string what = e.what();
    const auto close = what.find("] ");
    error = close == std::string::npos ? what : what.substr(close + 2);
    return false;
  }
  if (tooDeep) {
    error = "nested deeper than " + std::to_string(kMaxDepth) + " levels";
    return false;
  }
  if (!duplicate.empty()) {
    error = "member " + JsonQuote(duplicate) + " given twice in one object";
    return false;
  }
  return true;
}

bool IsPedalNumber(const Json& value) {
  if (!value.is_number()) return false;
  const double n = value.get<double>();
  return n == std::floor(n) && n >= 1 && n <= kMaxPedals;
}

bool ParseEntry(const Json& item, std::size_t position, ProfileParseResult& result) {
  const std::string where = "entry " + std::to_string(position + 1) + " of \"pedals\"";
  if (!item.is_object()) return Refuse(result, where + " is not an object");
  for (const auto& [name, value] : item.items()) {
    if (name != "pedal" && name != "keys" && name != "bytes") {
      return Refuse(result, where + ": unknown member " + JsonQuote(name) + " (allowed: pedal, keys, bytes)");
    }
  }
  const auto pedal = item.find("pedal");
  if (pedal == item.end() || !IsPedalNumber(*pedal)) {
    return Refuse(result, where + ": \"pedal\" must be a number from 1 to " + std::to_string(kMaxPedals));
  }
  ProfileEntry entry;
  entry.pedal = static_cast<int>(pedal->get<double>());
  const std::string pedalName = "pedal " + std::to_string(entry.pedal);
  for (const ProfileEntry& seen : result.entries) {
    if (seen.pedal == entry.pedal) return Refuse(result, pedalName + " appears twice");
  }
  const auto keysValue = item.find("keys");
  const auto bytesValue = item.find("bytes");
  const bool hasKeys = keysValue != item.end();
  const bool hasBytes = bytesValue != item.end();
  if (!hasKeys && !hasBytes) return Refuse(result, pedalName + ": needs \"keys\" or \"bytes\"");
  if (hasKeys && !keysValue->is_string()) return Refuse(result, pedalName + ": \"keys\" must be a string");
  if (hasBytes && !bytesValue->is_string()) return Refuse(result, pedalName + ": \"bytes\" must be a string");
  const std::string keys = hasKeys ? keysValue->get<std::string>() : std::string();
  if (hasBytes) {
    const std::string bytes = bytesValue->get<std::string>();
    if (!ParseBytesText(bytes, entry.bytes)) {
      return Refuse(result, pedalName + ": bad \"bytes\" " + JsonQuote(bytes) + " (expected e.g. \"01-06-00-00\")");
    }
    if (hasKeys && keys != DisplayText(entry.bytes)) {
      const KeyParseResult parsed = ParseKeyCombination(keys);
      if (!parsed.ok || parsed.bytes != entry.bytes) {
        return Refuse(result, pedalName + ": \"keys\" " + JsonQuote(keys) + " and \"bytes\" " + JsonQuote(bytes) +
                                  " disagree (edit one and drop the other)");
      }
    }
  } else {
    const KeyParseResult parsed = ParseKeyCombination(keys);
    if (!parsed.ok) return Refuse(result, pedalName + ": " + parsed.error);
    entry.bytes = parsed.bytes;
  }
  result.entries.push_back(entry);
  return true;
}

}  // namespace

ProfileParseResult ParseProfile(std::string_view text) {
  ProfileParseResult result;
  Json doc;
  std::string error;
  if (!ParseDocument(text, doc, error)) {
    Refuse(result, "not valid JSON: " + error);
    return result;
  }
  if (!doc.is_object()) {
    Refuse(result, "the profile must be a JSON object with a \"pedals\" array");
    return result;
  }
  const auto pedals = doc.find("pedals");
  if (pedals == doc.end() || !pedals->is_array()) {
    Refuse(result, "the profile has no \"pedals\" array");
    return result;
  }
  if (pedals->empty()) {
    Refuse(result, "the \"pedals\" array is empty");
    return result;
  }
  for (std::size_t i = 0; i < pedals->size(); ++i) {
    if (!ParseEntry((*pedals)[i], i, result)) return result;
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

std::string ProfileJson(const std::vector<ProfileEntry>& entries) {
  return "{\n  \"pedals\": " + PedalsArrayJson(entries) + "\n}\n";
}

}  // namespace cli
