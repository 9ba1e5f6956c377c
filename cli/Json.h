// A small JSON reader and string writer for the pedal profile files.
// Reads one complete value (objects, arrays, strings, numbers, true, false,
// null) with depth and size limits; anything else is an error with the
// line and column where it was found.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace cli::json {

struct Value {
  enum class Kind { Null, Bool, Number, String, Array, Object };
  Kind kind = Kind::Null;
  bool boolean = false;
  double number = 0;
  std::string text;
  std::vector<Value> items;
  // Members in file order; duplicate names are refused by the parser.
  std::vector<std::pair<std::string, Value>> members;

  const Value* Member(std::string_view name) const;
};

struct ParseResult {
  bool ok = false;
  Value value;
  std::string error;
};

ParseResult Parse(std::string_view text);

// `text` as a JSON string literal, quotes included.
std::string Quote(std::string_view text);

}  // namespace cli::json
