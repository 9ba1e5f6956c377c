// The state machine behind ParseReportDescriptor: global state with its push
// stack, local usages, collection nesting, and the bits of every report per
// top-level collection.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "hid/platform/descriptor/ReportDescriptor.h"
#include "hid/platform/descriptor/ReportItem.h"

namespace hid::platform::descriptor {

class ReportDescriptorParser {
 public:
  ReportDescriptor Parse(std::span<const std::uint8_t> bytes);

 private:
  enum Kind { kInput = 0, kOutput = 1, kFeature = 2 };

  struct GlobalState {
    std::uint16_t usagePage = 0;
    std::uint32_t reportSize = 0;
    std::uint32_t reportCount = 0;
    std::uint8_t reportId = 0;
  };
  struct LocalState {
    std::optional<std::uint32_t> usage;  // first Usage (or Usage Minimum)
    bool usageHasPage = false;           // a 4-byte usage carries its own page
  };
  struct ReportBits {
    std::uint8_t id = 0;
    std::array<std::uint32_t, 3> bits{};
  };
  struct Collection {
    TopLevelCollection info;
    std::vector<ReportBits> reports;
  };

  bool Main(const ReportItem& item);
  bool Global(const ReportItem& item);
  void Local(const ReportItem& item);
  bool AddField(Kind kind);
  bool Fail(const ReportItem& item, const std::string& what);
  void Finish(ReportDescriptor& out);

  GlobalState global_;
  std::vector<GlobalState> stack_;
  LocalState local_;
  std::size_t depth_ = 0;
  std::vector<Collection> collections_;
  bool usesReportIds_ = false;
  std::string error_;
};

}  // namespace hid::platform::descriptor
