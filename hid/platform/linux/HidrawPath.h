// Device paths of the hidraw binding: the node itself ("/dev/hidraw3") for a
// node with one top-level collection, the node plus a collection suffix
// ("/dev/hidraw3#col2", numbered from 1) for each collection of a node that
// has several.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace hid::platform::linux_ {

struct HidrawPath {
  std::string node;              // the /dev node to open
  std::size_t collection = 0;    // 0-based top-level collection
  bool namesCollection = false;  // the path carried a collection suffix
};

// `collection` given: the path names that 0-based collection.
std::string FormatHidrawPath(const std::string& node, std::optional<std::size_t> collection);

// A path without a valid suffix is a node path for collection 0.
HidrawPath ParseHidrawPath(const std::string& path);

}  // namespace hid::platform::linux_
