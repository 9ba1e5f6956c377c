#include "hid/platform/descriptor/ReportDescriptorParser.h"

#include <algorithm>
#include <limits>

#include "hid/platform/descriptor/ReportItemReader.h"

namespace hid::platform::descriptor {

namespace {

// Main item tags.
constexpr std::uint8_t kTagInput = 0x8;
constexpr std::uint8_t kTagOutput = 0x9;
constexpr std::uint8_t kTagCollection = 0xA;
constexpr std::uint8_t kTagFeature = 0xB;
constexpr std::uint8_t kTagEndCollection = 0xC;
// Global item tags.
constexpr std::uint8_t kTagUsagePage = 0x0;
constexpr std::uint8_t kTagReportSize = 0x7;
constexpr std::uint8_t kTagReportId = 0x8;
constexpr std::uint8_t kTagReportCount = 0x9;
constexpr std::uint8_t kTagPush = 0xA;
constexpr std::uint8_t kTagPop = 0xB;
// Local item tags.
constexpr std::uint8_t kTagUsage = 0x0;
constexpr std::uint8_t kTagUsageMinimum = 0x1;

std::uint16_t ByteLength(std::uint32_t bits) {
  if (bits == 0) return 0;
  const std::uint32_t bytes = (bits + 7) / 8 + 1;
  return static_cast<std::uint16_t>(std::min<std::uint32_t>(bytes, std::numeric_limits<std::uint16_t>::max()));
}

}  // namespace

ReportDescriptor ParseReportDescriptor(std::span<const std::uint8_t> bytes) {
  return ReportDescriptorParser{}.Parse(bytes);
}

ReportDescriptor ReportDescriptorParser::Parse(std::span<const std::uint8_t> bytes) {
  ReportItemReader reader(bytes);
  ReportItem item;
  bool sound = true;
  for (;;) {
    const auto status = reader.Next(item);
    if (status == ReportItemReader::Status::End) break;
    if (status == ReportItemReader::Status::Truncated) {
      item.offset = reader.Offset();
      sound = Fail(item, "item runs past the end of the descriptor");
      break;
    }
    switch (item.type) {
      case ItemType::Main: sound = Main(item); break;
      case ItemType::Global: sound = Global(item); break;
      case ItemType::Local: Local(item); break;
      case ItemType::Reserved:
      case ItemType::Long: break;  // nothing defined: skipped
    }
    if (!sound) break;
  }
  if (sound && depth_ != 0) {
    item.offset = bytes.size();
    Fail(item, "collection not closed");
  }
  ReportDescriptor out;
  Finish(out);
  return out;
}

bool ReportDescriptorParser::Main(const ReportItem& item) {
  bool sound = true;
  switch (item.tag) {
    case kTagCollection:
      if (depth_ >= kMaxCollectionDepth) return Fail(item, "collections nested too deeply");
      if (depth_ == 0) {
        Collection top;
        if (local_.usage) {
          const std::uint32_t usage = *local_.usage;
          top.info.usagePage = local_.usageHasPage ? static_cast<std::uint16_t>(usage >> 16) : global_.usagePage;
          top.info.usage = static_cast<std::uint16_t>(usage & 0xFFFF);
        } else {
          top.info.usagePage = global_.usagePage;
        }
        collections_.push_back(std::move(top));
      }
      ++depth_;
      break;
    case kTagEndCollection:
      if (depth_ == 0) return Fail(item, "End Collection without Collection");
      --depth_;
      break;
    case kTagInput: sound = AddField(kInput); break;
    case kTagOutput: sound = AddField(kOutput); break;
    case kTagFeature: sound = AddField(kFeature); break;
    default: break;  // reserved main item
  }
  if (!sound) return Fail(item, "report longer than " + std::to_string(kMaxReportBytes) + " bytes");
  local_ = LocalState{};
  return true;
}

bool ReportDescriptorParser::AddField(Kind kind) {
  // A data item outside every collection belongs to no top-level collection.
  if (depth_ == 0 || collections_.empty()) return true;
  auto& reports = collections_.back().reports;
  auto it = std::find_if(reports.begin(), reports.end(), [&](const ReportBits& r) { return r.id == global_.reportId; });
  if (it == reports.end()) {
    reports.push_back(ReportBits{global_.reportId, {}});
    it = reports.end() - 1;
  }
  // reportSize is at most kMaxReportSizeBits, so the product fits 64 bits.
  const std::uint64_t bits = std::uint64_t{global_.reportSize} * global_.reportCount + it->bits[kind];
  if (bits > std::uint64_t{kMaxReportBytes} * 8) return false;
  it->bits[kind] = static_cast<std::uint32_t>(bits);
  return true;
}

bool ReportDescriptorParser::Global(const ReportItem& item) {
  switch (item.tag) {
    case kTagUsagePage:
      global_.usagePage = static_cast<std::uint16_t>(item.data & 0xFFFF);
      break;
    case kTagReportSize:
      if (item.data > kMaxReportSizeBits) return Fail(item, "Report Size of " + std::to_string(item.data) + " bits");
      global_.reportSize = item.data;
      break;
    case kTagReportCount:
      global_.reportCount = item.data;
      break;
    case kTagReportId:
      if (item.data == 0 || item.data > 0xFF) return Fail(item, "Report ID " + std::to_string(item.data));
      global_.reportId = static_cast<std::uint8_t>(item.data);
      usesReportIds_ = true;
      break;
    case kTagPush:
      if (stack_.size() >= kMaxGlobalStackDepth) return Fail(item, "Push stack overflow");
      stack_.push_back(global_);
      break;
    case kTagPop:
      if (stack_.empty()) return Fail(item, "Pop without Push");
      global_ = stack_.back();
      stack_.pop_back();
      break;
    default: break;  // logical/physical ranges, units: no effect on lengths
  }
  return true;
}

void ReportDescriptorParser::Local(const ReportItem& item) {
  if ((item.tag == kTagUsage || item.tag == kTagUsageMinimum) && !local_.usage) {
    local_.usage = item.data;
    local_.usageHasPage = item.dataSize == 4;
  }
}

bool ReportDescriptorParser::Fail(const ReportItem& item, const std::string& what) {
  if (error_.empty()) error_ = what + " at offset " + std::to_string(item.offset);
  return false;
}

void ReportDescriptorParser::Finish(ReportDescriptor& out) {
  if (!error_.empty()) {
    out.error = error_;
    return;
  }
  out.usesReportIds = usesReportIds_;
  for (auto& c : collections_) {
    std::array<std::uint32_t, 3> maxBits{};
    for (const auto& r : c.reports) {
      for (int k = 0; k < 3; ++k) maxBits[k] = std::max(maxBits[k], r.bits[k]);
      if (r.id != 0) c.info.reportIds.push_back(r.id);
      if (r.bits[kInput] > 0) c.info.inputReportIds.push_back(r.id);
    }
    std::sort(c.info.reportIds.begin(), c.info.reportIds.end());
    std::sort(c.info.inputReportIds.begin(), c.info.inputReportIds.end());
    c.info.inputReportByteLength = ByteLength(maxBits[kInput]);
    c.info.outputReportByteLength = ByteLength(maxBits[kOutput]);
    c.info.featureReportByteLength = ByteLength(maxBits[kFeature]);
    out.collections.push_back(std::move(c.info));
  }
}

}  // namespace hid::platform::descriptor
