#include "cli/KeyCombination.h"

#include <cctype>
#include <vector>

#include "cli/Messages.h"
#include "keys/KeyNameTable.h"
#include "keys/KeyNames.h"
#include "protocol/HexText.h"

namespace cli {

namespace {

std::vector<std::string> SplitOnPlus(std::string_view text) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t plus = text.find('+', start);
    if (plus == std::string_view::npos) {
      parts.emplace_back(text.substr(start));
      return parts;
    }
    parts.emplace_back(text.substr(start, plus - start));
    start = plus + 1;
  }
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

std::string UnknownNameMessage(std::string_view part) {
  for (const auto& row : keys::KeyNameTable) {
    if (EqualIgnoringCase(row.name, part)) {
      return Fill(translate("Profile", "unknown key name \"%1\" (names are case-sensitive, e.g. \"%2\")"),
                  {std::string(part), std::string(row.name)});
    }
  }
  return Fill(
      translate("Profile",
                "unknown key name \"%1\" (see the key table; names are case-sensitive, e.g. \"Ctrl\", \"Page Up\")"),
      {std::string(part)});
}

}  // namespace

KeyParseResult ParseKeyCombination(std::string_view text, const keys::KeyNaming& naming) {
  KeyParseResult result;
  if (text.empty() || text == "none") {
    result.ok = true;
    return result;
  }
  // Names may contain "+" themselves ("Num +"): at each position take the
  // longest run of parts that forms a name.
  const std::vector<std::string> parts = SplitOnPlus(text);
  int keyCount = 0;
  for (std::size_t i = 0; i < parts.size();) {
    int usage = 0;
    bool numbered = false;
    std::size_t used = 0;
    std::string joined;
    for (std::size_t k = i; k < parts.size(); ++k) {
      joined += (k == i ? "" : "+") + parts[k];
      if (const int u = naming.Usage(joined); u != 0) {
        usage = u;
        numbered = keys::UnnamedCode(joined) != 0;
        used = k - i + 1;
      }
    }
    if (usage == 0) {
      result.error = parts[i].empty() ? Fill(translate("Profile", "empty key name in \"%1\" (a \"+\" too many?)"),
                                             {std::string(text)})
                                      : UnknownNameMessage(parts[i]);
      return result;
    }
    const std::string name = numbered ? keys::UnnamedCodeName(usage) : naming.Name(usage);
    if (!numbered && usage >= keys::kFirstModifierUsage && usage <= keys::kLastModifierUsage) {
      result.bytes[0] |= static_cast<std::uint8_t>(1u << (usage - keys::kFirstModifierUsage));
    } else {
      for (int k = 1; k <= keyCount; ++k) {
        if (result.bytes[k] == usage) {
          result.error = Fill(translate("Profile", "key \"%1\" given twice"), {name});
          return result;
        }
      }
      if (keyCount == 3) {
        result.error = Fill(
            translate("Profile", "too many keys: \"%1\" would be the fourth (at most three keys besides modifiers)"),
            {name});
        return result;
      }
      result.bytes[++keyCount] = static_cast<std::uint8_t>(usage);
    }
    i += used;
  }
  result.ok = true;
  return result;
}

bool ParseBytesText(std::string_view text, PedalBytes& out) {
  if (text.size() != 11) return false;
  PedalBytes bytes{};
  for (std::size_t i = 0; i < 4; ++i) {
    const std::string_view pair = text.substr(i * 3, 2);
    if (!std::isxdigit(static_cast<unsigned char>(pair[0])) || !std::isxdigit(static_cast<unsigned char>(pair[1]))) {
      return false;
    }
    if (i < 3 && text[i * 3 + 2] != '-') return false;
    bytes[i] = static_cast<std::uint8_t>(protocol::ParseHexOrZero(pair));
  }
  out = bytes;
  return true;
}

std::string BytesText(const PedalBytes& bytes) {
  std::string text;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i != 0) text += '-';
    protocol::AppendHexByte(text, bytes[i]);
  }
  return text;
}

std::string DisplayText(const PedalBytes& bytes, const keys::KeyNaming& naming) {
  std::string text;
  // The modifiers bit 0 first, by the naming's names ("Strg" in German), as
  // the window shows them.
  for (int bit = 0; bit < 8; ++bit) {
    if ((bytes[0] & (1u << bit)) == 0) continue;
    if (!text.empty()) text += '+';
    text += naming.Name(keys::kFirstModifierUsage + bit);
  }
  for (std::size_t i = 1; i < bytes.size(); ++i) {
    if (bytes[i] == 0 || bytes[i] == 0xFF) continue;
    if (!text.empty()) text += '+';
    text += naming.KeySlotName(bytes[i]);
  }
  return text;
}

}  // namespace cli
