#include <gtest/gtest.h>

#include "hid/platform/linux/HidrawPath.h"

namespace hid::platform::linux_ {
namespace {

TEST(HidrawPath, NodePathsAndCollectionPathsRoundTrip) {
  EXPECT_EQ(FormatHidrawPath("/dev/hidraw3", std::nullopt), "/dev/hidraw3");
  EXPECT_EQ(FormatHidrawPath("/dev/hidraw3", 0), "/dev/hidraw3#col1");
  EXPECT_EQ(FormatHidrawPath("/dev/hidraw3", 11), "/dev/hidraw3#col12");

  const auto plain = ParseHidrawPath("/dev/hidraw3");
  EXPECT_EQ(plain.node, "/dev/hidraw3");
  EXPECT_EQ(plain.collection, 0u);
  EXPECT_FALSE(plain.namesCollection);

  const auto second = ParseHidrawPath("/dev/hidraw3#col2");
  EXPECT_EQ(second.node, "/dev/hidraw3");
  EXPECT_EQ(second.collection, 1u);
  EXPECT_TRUE(second.namesCollection);
}

TEST(HidrawPath, MalformedSuffixesAreNotCollections) {
  for (const char* path : {"/dev/hidraw3#col0", "/dev/hidraw3#col", "/dev/hidraw3#col01", "/dev/hidraw3#col1x",
                           "/dev/hidraw3#col99999", "#col1", "/dev/hidraw3#co1"}) {
    SCOPED_TRACE(path);
    const auto parsed = ParseHidrawPath(path);
    EXPECT_EQ(parsed.node, path);
    EXPECT_FALSE(parsed.namesCollection);
    EXPECT_EQ(parsed.collection, 0u);
  }
}

}  // namespace
}  // namespace hid::platform::linux_
