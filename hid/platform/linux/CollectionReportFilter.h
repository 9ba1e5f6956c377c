// Which input reports a read on one top-level collection of a hidraw node
// delivers. hidraw hands every fd every report of the node; a node with
// several collections is listed once per collection, so each report must
// reach one of them only: the first collection, in descriptor order, that
// declares an input report with the report's id. A device without report ids
// counts as id 0. A report whose id no collection declares reaches none.
#pragma once

#include <bitset>
#include <cstddef>
#include <optional>

#include "hid/platform/descriptor/ReportDescriptor.h"

namespace hid::platform::linux_ {

// The report ids a read on `collection` delivers; nullopt: every report (a
// node with at most one collection).
std::optional<std::bitset<256>> CollectionReportFilter(const descriptor::ReportDescriptor& descriptor,
                                                       std::size_t collection);

}  // namespace hid::platform::linux_
