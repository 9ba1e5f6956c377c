// Report descriptor parser on arbitrary bytes: no over-read (the sanitizers
// watch the input buffer, which is an exact-size copy), report lengths within
// the parser's limit, a collection count bounded by the input size, and report
// ids kept as the lookup expects them (ascending, unique).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "fuzz/targets/FuzzCheck.h"
#include "hid/platform/descriptor/ReportDescriptor.h"

using namespace hid::platform::descriptor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> bytes(data, data + size);
  const ReportDescriptor parsed = ParseReportDescriptor(std::span<const std::uint8_t>(bytes.data(), bytes.size()));

  if (!parsed.ok()) FUZZ_CHECK(parsed.collections.empty());
  FUZZ_CHECK(parsed.collections.size() <= size);
  constexpr std::uint32_t kMaxLength = kMaxReportBytes + 1;  // report id byte included
  for (const TopLevelCollection& c : parsed.collections) {
    FUZZ_CHECK(c.inputReportByteLength <= kMaxLength);
    FUZZ_CHECK(c.outputReportByteLength <= kMaxLength);
    FUZZ_CHECK(c.featureReportByteLength <= kMaxLength);
    FUZZ_CHECK(std::is_sorted(c.reportIds.begin(), c.reportIds.end()));
    FUZZ_CHECK(std::adjacent_find(c.reportIds.begin(), c.reportIds.end()) == c.reportIds.end());
    if (!parsed.usesReportIds) FUZZ_CHECK(c.reportIds.empty());
    for (std::uint8_t id : c.reportIds) FUZZ_CHECK(c.OwnsReportId(id));
  }
  // Parsing is a pure function of the bytes.
  const ReportDescriptor again = ParseReportDescriptor(std::span<const std::uint8_t>(bytes.data(), bytes.size()));
  FUZZ_CHECK(again.error == parsed.error);
  FUZZ_CHECK(again.collections.size() == parsed.collections.size());
  return 0;
}
