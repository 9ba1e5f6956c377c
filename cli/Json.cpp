#include "cli/Json.h"

#include "cli/Utf8.h"

#include <cmath>
#include <cstdlib>

namespace cli::json {

namespace {

constexpr int kMaxDepth = 32;

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  bool ParseDocument(Value& out) {
    SkipBlanks();
    if (!ParseValue(out, 0)) return false;
    SkipBlanks();
    if (pos_ != text_.size()) return Fail("unexpected text after the end of the document");
    return true;
  }

  std::string Error() const { return error_; }

 private:
  bool Fail(const std::string& what) {
    if (error_.empty()) {
      int line = 1, column = 1;
      for (std::size_t i = 0; i < pos_ && i < text_.size(); ++i) {
        if (text_[i] == '\n') {
          ++line;
          column = 1;
        } else {
          ++column;
        }
      }
      error_ = what + " at line " + std::to_string(line) + ", column " + std::to_string(column);
    }
    return false;
  }

  void SkipBlanks() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\n' ||
                                   text_[pos_] == '\r')) {
      ++pos_;
    }
  }

  bool Literal(std::string_view word) {
    if (text_.substr(pos_, word.size()) != word) return Fail("unknown word");
    pos_ += word.size();
    return true;
  }

  bool ParseValue(Value& out, int depth) {
    if (depth > kMaxDepth) return Fail("nesting too deep");
    if (pos_ >= text_.size()) return Fail("unexpected end of the document");
    switch (text_[pos_]) {
      case '{': return ParseObject(out, depth);
      case '[': return ParseArray(out, depth);
      case '"': out.kind = Value::Kind::String; return ParseString(out.text);
      case 't': out.kind = Value::Kind::Bool; out.boolean = true; return Literal("true");
      case 'f': out.kind = Value::Kind::Bool; out.boolean = false; return Literal("false");
      case 'n': out.kind = Value::Kind::Null; return Literal("null");
      default: return ParseNumber(out);
    }
  }

  bool ParseObject(Value& out, int depth) {
    out.kind = Value::Kind::Object;
    ++pos_;
    SkipBlanks();
    if (pos_ < text_.size() && text_[pos_] == '}') {
      ++pos_;
      return true;
    }
    for (;;) {
      SkipBlanks();
      if (pos_ >= text_.size() || text_[pos_] != '"') return Fail("expected a member name in quotes");
      std::string name;
      if (!ParseString(name)) return false;
      if (out.Member(name) != nullptr) return Fail("member \"" + name + "\" given twice");
      SkipBlanks();
      if (pos_ >= text_.size() || text_[pos_] != ':') return Fail("expected ':'");
      ++pos_;
      SkipBlanks();
      Value value;
      if (!ParseValue(value, depth + 1)) return false;
      out.members.emplace_back(std::move(name), std::move(value));
      SkipBlanks();
      if (pos_ < text_.size() && text_[pos_] == ',') {
        ++pos_;
        continue;
      }
      if (pos_ < text_.size() && text_[pos_] == '}') {
        ++pos_;
        return true;
      }
      return Fail("expected ',' or '}'");
    }
  }

  bool ParseArray(Value& out, int depth) {
    out.kind = Value::Kind::Array;
    ++pos_;
    SkipBlanks();
    if (pos_ < text_.size() && text_[pos_] == ']') {
      ++pos_;
      return true;
    }
    for (;;) {
      SkipBlanks();
      Value value;
      if (!ParseValue(value, depth + 1)) return false;
      out.items.push_back(std::move(value));
      SkipBlanks();
      if (pos_ < text_.size() && text_[pos_] == ',') {
        ++pos_;
        continue;
      }
      if (pos_ < text_.size() && text_[pos_] == ']') {
        ++pos_;
        return true;
      }
      return Fail("expected ',' or ']'");
    }
  }

  bool Hex4(std::uint32_t& value) {
    if (pos_ + 4 > text_.size()) return Fail("short \\u escape");
    value = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = text_[pos_++];
      value <<= 4;
      if (c >= '0' && c <= '9') value |= static_cast<std::uint32_t>(c - '0');
      else if (c >= 'a' && c <= 'f') value |= static_cast<std::uint32_t>(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F') value |= static_cast<std::uint32_t>(c - 'A' + 10);
      else return Fail("bad \\u escape");
    }
    return true;
  }

  bool ParseString(std::string& out) {
    ++pos_;  // opening quote
    for (;;) {
      if (pos_ >= text_.size()) return Fail("unterminated string");
      const char c = text_[pos_++];
      if (c == '"') return true;
      if (static_cast<unsigned char>(c) < 0x20) return Fail("control character in a string");
      if (c != '\\') {
        out += c;
        continue;
      }
      if (pos_ >= text_.size()) return Fail("unterminated string");
      const char e = text_[pos_++];
      switch (e) {
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        case '/': out += '/'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u': {
          std::uint32_t cp = 0;
          if (!Hex4(cp)) return false;
          if (cp >= 0xD800 && cp <= 0xDBFF) {
            std::uint32_t low = 0;
            if (text_.substr(pos_, 2) != "\\u") return Fail("lone surrogate");
            pos_ += 2;
            if (!Hex4(low)) return false;
            if (low < 0xDC00 || low > 0xDFFF) return Fail("lone surrogate");
            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
          } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
            return Fail("lone surrogate");
          }
          AppendUtf8(out, cp);
          break;
        }
        default: return Fail("bad escape in a string");
      }
    }
  }

  bool ParseNumber(Value& out) {
    const std::size_t start = pos_;
    if (pos_ < text_.size() && text_[pos_] == '-') ++pos_;
    auto digits = [&] {
      const std::size_t from = pos_;
      while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') ++pos_;
      return pos_ - from;
    };
    const std::size_t intStart = pos_;
    if (digits() == 0) {
      pos_ = start;
      return Fail("unexpected character");
    }
    if (text_[intStart] == '0' && pos_ - intStart > 1) return Fail("leading zero in a number");
    if (pos_ < text_.size() && text_[pos_] == '.') {
      ++pos_;
      if (digits() == 0) return Fail("bad number");
    }
    if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
      ++pos_;
      if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-')) ++pos_;
      if (digits() == 0) return Fail("bad number");
    }
    out.kind = Value::Kind::Number;
    out.number = std::strtod(std::string(text_.substr(start, pos_ - start)).c_str(), nullptr);
    if (!std::isfinite(out.number)) return Fail("number out of range");
    return true;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  std::string error_;
};

}  // namespace

const Value* Value::Member(std::string_view name) const {
  for (const auto& [key, value] : members) {
    if (key == name) return &value;
  }
  return nullptr;
}

ParseResult Parse(std::string_view text) {
  ParseResult result;
  Reader reader(text);
  result.ok = reader.ParseDocument(result.value);
  if (!result.ok) {
    result.error = reader.Error();
    result.value = Value();
  }
  return result;
}

std::string Quote(std::string_view text) {
  static const char* const kHex = "0123456789abcdef";
  std::string out = "\"";
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"') out += "\\\"";
    else if (c == '\\') out += "\\\\";
    else if (c == '\n') out += "\\n";
    else if (c == '\t') out += "\\t";
    else if (c == '\r') out += "\\r";
    else if (u < 0x20) {
      out += "\\u00";
      out += kHex[u >> 4];
      out += kHex[u & 0xF];
    } else {
      out += c;
    }
  }
  return out + "\"";
}

}  // namespace cli::json
