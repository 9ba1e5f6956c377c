#include "cli/Profile.h"

#include <cmath>

#include "cli/Json.h"

namespace cli {

namespace {

bool Refuse(ProfileParseResult& result, const std::string& message) {
  result.ok = false;
  result.entries.clear();
  result.error = message;
  return false;
}

bool ParseEntry(const json::Value& item, std::size_t position, ProfileParseResult& result) {
  const std::string where = "entry " + std::to_string(position + 1) + " of \"pedals\"";
  if (item.kind != json::Value::Kind::Object) return Refuse(result, where + " is not an object");
  for (const auto& [name, value] : item.members) {
    if (name != "pedal" && name != "keys" && name != "bytes") {
      return Refuse(result, where + ": unknown member \"" + name + "\" (allowed: pedal, keys, bytes)");
    }
  }
  const json::Value* pedal = item.Member("pedal");
  if (pedal == nullptr || pedal->kind != json::Value::Kind::Number || pedal->number != std::floor(pedal->number) ||
      pedal->number < 1 || pedal->number > kMaxPedals) {
    return Refuse(result, where + ": \"pedal\" must be a number from 1 to " + std::to_string(kMaxPedals));
  }
  ProfileEntry entry;
  entry.pedal = static_cast<int>(pedal->number);
  const std::string pedalName = "pedal " + std::to_string(entry.pedal);
  for (const ProfileEntry& seen : result.entries) {
    if (seen.pedal == entry.pedal) return Refuse(result, pedalName + " appears twice");
  }
  const json::Value* keysValue = item.Member("keys");
  const json::Value* bytesValue = item.Member("bytes");
  if (keysValue == nullptr && bytesValue == nullptr) return Refuse(result, pedalName + ": needs \"keys\" or \"bytes\"");
  if (keysValue != nullptr && keysValue->kind != json::Value::Kind::String) {
    return Refuse(result, pedalName + ": \"keys\" must be a string");
  }
  if (bytesValue != nullptr && bytesValue->kind != json::Value::Kind::String) {
    return Refuse(result, pedalName + ": \"bytes\" must be a string");
  }
  if (bytesValue != nullptr) {
    if (!ParseBytesText(bytesValue->text, entry.bytes)) {
      return Refuse(result, pedalName + ": bad \"bytes\" \"" + bytesValue->text + "\" (expected e.g. \"01-06-00-00\")");
    }
    if (keysValue != nullptr && keysValue->text != DisplayText(entry.bytes)) {
      const KeyParseResult keys = ParseKeyCombination(keysValue->text);
      if (!keys.ok || keys.bytes != entry.bytes) {
        return Refuse(result, pedalName + ": \"keys\" \"" + keysValue->text + "\" and \"bytes\" \"" + bytesValue->text +
                                  "\" disagree (edit one and drop the other)");
      }
    }
  } else {
    const KeyParseResult keys = ParseKeyCombination(keysValue->text);
    if (!keys.ok) return Refuse(result, pedalName + ": " + keys.error);
    entry.bytes = keys.bytes;
  }
  result.entries.push_back(entry);
  return true;
}

}  // namespace

ProfileParseResult ParseProfile(std::string_view text) {
  ProfileParseResult result;
  const json::ParseResult doc = json::Parse(text);
  if (!doc.ok) {
    Refuse(result, "not valid JSON: " + doc.error);
    return result;
  }
  if (doc.value.kind != json::Value::Kind::Object) {
    Refuse(result, "the profile must be a JSON object with a \"pedals\" array");
    return result;
  }
  const json::Value* pedals = doc.value.Member("pedals");
  if (pedals == nullptr || pedals->kind != json::Value::Kind::Array) {
    Refuse(result, "the profile has no \"pedals\" array");
    return result;
  }
  if (pedals->items.empty()) {
    Refuse(result, "the \"pedals\" array is empty");
    return result;
  }
  for (std::size_t i = 0; i < pedals->items.size(); ++i) {
    if (!ParseEntry(pedals->items[i], i, result)) return result;
  }
  result.ok = true;
  return result;
}

std::string PedalsArrayJson(const std::vector<ProfileEntry>& entries) {
  std::string out = "[";
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const ProfileEntry& e = entries[i];
    out += i == 0 ? "\n    " : ",\n    ";
    out += "{\"pedal\":" + std::to_string(e.pedal) + ",\"keys\":" + json::Quote(DisplayText(e.bytes)) +
           ",\"bytes\":" + json::Quote(BytesText(e.bytes)) + "}";
  }
  out += entries.empty() ? "]" : "\n  ]";
  return out;
}

std::string ProfileJson(const std::vector<ProfileEntry>& entries) {
  return "{\n  \"pedals\": " + PedalsArrayJson(entries) + "\n}\n";
}

}  // namespace cli
