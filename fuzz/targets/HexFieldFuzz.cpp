// The hexadecimal field rule: ParseHexOrZero against a plain reference, and
// the diagnostic report built from seven fields.
// Input layout: the text; for the diagnostic report it is cut into seven
// fields at '|' (missing fields are empty).
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/targets/FuzzCheck.h"
#include "protocol/HexText.h"
#include "protocol/PedalReport.h"

namespace {

std::uint32_t ReferenceHex(std::string_view text) {
  if (text.empty()) return 0;
  std::uint64_t value = 0;
  for (char c : text) {
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else return 0;
    value = value * 16 + static_cast<std::uint64_t>(digit);
    if (value > 0xFFFFFFFFull) return 0;
  }
  return static_cast<std::uint32_t>(value);
}

bool IsUpperHexPair(const std::string& s) {
  if (s.size() != 2) return false;
  for (char c : s) {
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  FUZZ_CHECK(protocol::ParseHexOrZero(text) == ReferenceHex(text));

  std::array<std::string, protocol::kDiagnosticFieldCount> fields;
  std::size_t start = 0;
  for (std::size_t i = 0; i < fields.size() && start <= text.size(); ++i) {
    const std::size_t bar = text.find('|', start);
    const std::size_t end = bar == std::string::npos ? text.size() : bar;
    fields[i] = text.substr(start, end - start);
    start = end + 1;
  }
  const auto original = fields;
  const protocol::PedalReport report = protocol::BuildDiagnosticReport(fields);
  FUZZ_CHECK(report[0] == protocol::kPedalReportId);
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const auto expected = static_cast<std::uint8_t>(ReferenceHex(original[i]) & 0xFF);
    FUZZ_CHECK(report[i + 1] == expected);
    FUZZ_CHECK(IsUpperHexPair(fields[i]));
    FUZZ_CHECK(fields[i] == protocol::HexByteText(expected));
    FUZZ_CHECK(protocol::ParseHexOrZero(fields[i]) == expected);
  }
  return 0;
}
