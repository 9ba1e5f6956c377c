#include "hid/platform/linux/CollectionReportFilter.h"

namespace hid::platform::linux_ {

std::optional<std::bitset<256>> CollectionReportFilter(const descriptor::ReportDescriptor& descriptor,
                                                       std::size_t collection) {
  const auto& collections = descriptor.collections;
  if (collections.size() <= 1 || collection >= collections.size()) return std::nullopt;
  std::bitset<256> claimed;  // ids of the collections before this one
  for (std::size_t c = 0; c < collection; ++c) {
    for (auto id : collections[c].inputReportIds) claimed.set(id);
  }
  std::bitset<256> own;
  for (auto id : collections[collection].inputReportIds) {
    if (!claimed.test(id)) own.set(id);
  }
  return own;
}

}  // namespace hid::platform::linux_
