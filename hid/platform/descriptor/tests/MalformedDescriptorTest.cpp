#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <random>
#include <span>
#include <vector>

#include "hid/platform/descriptor/ReportDescriptor.h"
#include "hid/platform/descriptor/tests/KnownDescriptors.h"

namespace hid::platform::descriptor {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Copies the bytes into a buffer of exactly their size, so that a read past
// the end is seen by the address sanitizer.
ReportDescriptor ParseExact(const Bytes& bytes) {
  auto exact = std::make_unique<std::uint8_t[]>(bytes.size());
  std::copy(bytes.begin(), bytes.end(), exact.get());
  return ParseReportDescriptor(std::span<const std::uint8_t>(exact.get(), bytes.size()));
}

void ExpectRejected(const Bytes& bytes, const char* why) {
  const auto d = ParseExact(bytes);
  EXPECT_FALSE(d.ok()) << why;
  EXPECT_TRUE(d.collections.empty()) << why;
}

Bytes InCollection(const Bytes& body) {
  Bytes out = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01};
  for (auto b : body) out.push_back(b);
  out.push_back(0xC0);
  return out;
}

TEST(MalformedDescriptor, TruncatedItemsAreRejected) {
  ExpectRejected({0x05}, "short item without its data byte");
  ExpectRejected({0x26, 0xFF}, "two-byte item with one data byte");
  ExpectRejected({0x27, 0x01, 0x02, 0x03}, "four-byte item with three data bytes");
  ExpectRejected({0xFE}, "long item prefix alone");
  ExpectRejected({0xFE, 0x05, 0x00, 0x01, 0x02}, "long item shorter than its size");
  // Every proper prefix of a sound descriptor: cut inside an item or with
  // the collection still open, it is malformed; only the prefix that ends
  // before the collection (page item alone) is sound and has no collection.
  const Bytes& pedal = known::kPedal;
  for (std::size_t n = 1; n < pedal.size(); ++n) {
    const auto d = ParseExact(Bytes(pedal.begin(), pedal.begin() + static_cast<long>(n)));
    EXPECT_EQ(d.ok(), n == 3 || n == 5) << "prefix of " << n << " bytes";
    EXPECT_TRUE(d.collections.empty());
  }
}

TEST(MalformedDescriptor, AbsurdSizesAreRejected) {
  ExpectRejected(InCollection({0x77, 0xFF, 0xFF, 0xFF, 0xFF, 0x95, 0x01, 0x81, 0x02}), "Report Size 2^32-1");
  ExpectRejected(InCollection({0x75, 0x08, 0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0x81, 0x02}), "Report Count 2^32-1");
  ExpectRejected(InCollection({0x75, 0x08, 0x96, 0x01, 0x40, 0x81, 0x02}), "16385-byte report");
  // Many fields that each fit but add up past the limit.
  Bytes body = {0x75, 0x08, 0x96, 0x00, 0x10};  // 4096 bytes per field
  for (int i = 0; i < 5; ++i) body.insert(body.end(), {0x81, 0x02});
  ExpectRejected(InCollection(body), "five 4096-byte fields");
}

TEST(MalformedDescriptor, LargestReportStillFitsTheLengthField) {
  const auto d = ParseExact(InCollection({0x75, 0x08, 0x96, 0x00, 0x40, 0x81, 0x02}));
  ASSERT_TRUE(d.ok()) << d.error;
  EXPECT_EQ(d.collections.at(0).inputReportByteLength, 16385);
}

TEST(MalformedDescriptor, ReportIdsOutsideOneToTwoHundredFiftyFiveAreRejected) {
  ExpectRejected(InCollection({0x85, 0x00, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02}), "Report ID 0");
  ExpectRejected(InCollection({0x86, 0x00, 0x01, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02}), "Report ID 256");
}

TEST(MalformedDescriptor, GlobalStackOverflowAndUnderflowAreRejected) {
  Bytes pushes(kMaxGlobalStackDepth, 0xA4);
  Bytes pops(kMaxGlobalStackDepth, 0xB4);
  Bytes balanced = pushes;
  balanced.insert(balanced.end(), pops.begin(), pops.end());
  EXPECT_TRUE(ParseExact(InCollection(balanced)).ok());

  pushes.push_back(0xA4);
  ExpectRejected(InCollection(pushes), "one Push too many");
  ExpectRejected(InCollection({0xB4}), "Pop without Push");
}

TEST(MalformedDescriptor, UnbalancedCollectionsAreRejected) {
  ExpectRejected({0xC0}, "End Collection alone");
  ExpectRejected({0x05, 0x01, 0x09, 0x06, 0xA1, 0x01}, "Collection never closed");
  ExpectRejected({0xA1, 0x01, 0xA1, 0x00, 0xC0}, "inner closed, outer not");
  Bytes deep;
  for (std::size_t i = 0; i <= kMaxCollectionDepth; ++i) deep.insert(deep.end(), {0xA1, 0x00});
  for (std::size_t i = 0; i <= kMaxCollectionDepth; ++i) deep.push_back(0xC0);
  ExpectRejected(deep, "collections nested one level too deep");
}

TEST(MalformedDescriptor, ErrorTellsWhereTheFaultLies) {
  const auto d = ParseExact({0x05, 0x01, 0xC0});
  EXPECT_EQ(d.error, "End Collection without Collection at offset 2");
}

TEST(MalformedDescriptor, RandomBytesNeverGiveAbsurdResults) {
  std::mt19937 random(20240611);
  // Prefix bytes of real items make deep parses likelier than uniform bytes.
  const std::uint8_t prefixes[] = {0x05, 0x06, 0x09, 0x0B, 0x15, 0x26, 0x75, 0x77, 0x85, 0x86, 0x95,
                                   0x96, 0x97, 0x81, 0x91, 0xB1, 0xA1, 0xC0, 0xA4, 0xB4, 0xFE};
  std::size_t sound = 0;
  for (int round = 0; round < 20000; ++round) {
    Bytes bytes(random() % 96);
    for (auto& b : bytes) {
      b = (random() % 3 == 0) ? prefixes[random() % sizeof prefixes] : static_cast<std::uint8_t>(random());
    }
    const auto d = ParseExact(bytes);
    if (!d.ok()) {
      EXPECT_TRUE(d.collections.empty());
      continue;
    }
    ++sound;
    EXPECT_LE(d.collections.size(), bytes.size() / 2);
    for (const auto& c : d.collections) {
      EXPECT_LE(c.inputReportByteLength, kMaxReportBytes + 1);
      EXPECT_LE(c.outputReportByteLength, kMaxReportBytes + 1);
      EXPECT_LE(c.featureReportByteLength, kMaxReportBytes + 1);
      EXPECT_TRUE(std::is_sorted(c.reportIds.begin(), c.reportIds.end()));
    }
  }
  EXPECT_GT(sound, 0u);  // the generator reaches the sound path too
}

}  // namespace
}  // namespace hid::platform::descriptor
