#include <gtest/gtest.h>

#include <vector>

#include "hid/platform/descriptor/ReportDescriptor.h"
#include "hid/platform/descriptor/tests/KnownDescriptors.h"

namespace hid::platform::descriptor {
namespace {

using Bytes = std::vector<std::uint8_t>;

ReportDescriptor Parse(const Bytes& bytes) { return ParseReportDescriptor(bytes); }

void ExpectLengths(const TopLevelCollection& c, std::uint16_t in, std::uint16_t out, std::uint16_t feature) {
  EXPECT_EQ(c.inputReportByteLength, in);
  EXPECT_EQ(c.outputReportByteLength, out);
  EXPECT_EQ(c.featureReportByteLength, feature);
}

TEST(ReportDescriptorParser, BootKeyboardCountsTheLeadingByteWithoutReportIds) {
  const auto d = Parse(known::kBootKeyboard);
  ASSERT_TRUE(d.ok()) << d.error;
  EXPECT_FALSE(d.usesReportIds);
  ASSERT_EQ(d.collections.size(), 1u);
  EXPECT_EQ(d.collections[0].usagePage, 0x01);
  EXPECT_EQ(d.collections[0].usage, 0x06);
  EXPECT_TRUE(d.collections[0].reportIds.empty());
  EXPECT_EQ(d.collections[0].inputReportIds, (std::vector<std::uint8_t>{0}));
  ExpectLengths(d.collections[0], 9, 2, 0);
}

TEST(ReportDescriptorParser, MouseWithNestedPhysicalCollectionIsOneTopLevelCollection) {
  const auto d = Parse(known::kBootMouse);
  ASSERT_TRUE(d.ok()) << d.error;
  ASSERT_EQ(d.collections.size(), 1u);
  EXPECT_EQ(d.collections[0].usagePage, 0x01);
  EXPECT_EQ(d.collections[0].usage, 0x02);
  ExpectLengths(d.collections[0], 4, 0, 0);
}

TEST(ReportDescriptorParser, PedalHasEightByteReportsWithReportIdTwo) {
  const auto d = Parse(known::kPedal);
  ASSERT_TRUE(d.ok()) << d.error;
  ASSERT_EQ(d.collections.size(), 1u);
  const auto& c = d.collections[0];
  EXPECT_EQ(c.usagePage, 0xFF00);
  EXPECT_EQ(c.usage, 0x01);
  EXPECT_EQ(c.reportIds, (std::vector<std::uint8_t>{2}));
  EXPECT_TRUE(c.OwnsReportId(2));
  EXPECT_FALSE(c.OwnsReportId(1));
  ExpectLengths(c, 8, 8, 0);
}

TEST(ReportDescriptorParser, CompositeDeviceGivesOneEntryPerTopLevelCollection) {
  const auto d = Parse(known::kCompositeKeyboard);
  ASSERT_TRUE(d.ok()) << d.error;
  EXPECT_TRUE(d.usesReportIds);
  ASSERT_EQ(d.collections.size(), 3u);

  EXPECT_EQ(d.collections[0].usagePage, 0x01);
  EXPECT_EQ(d.collections[0].usage, 0x06);
  EXPECT_EQ(d.collections[0].reportIds, (std::vector<std::uint8_t>{1}));
  ExpectLengths(d.collections[0], 9, 2, 0);

  EXPECT_EQ(d.collections[1].usagePage, 0xFF00);
  EXPECT_EQ(d.collections[1].reportIds, (std::vector<std::uint8_t>{2}));
  ExpectLengths(d.collections[1], 8, 8, 0);

  EXPECT_EQ(d.collections[2].usagePage, 0x0C);
  EXPECT_EQ(d.collections[2].usage, 0x01);
  EXPECT_EQ(d.collections[2].reportIds, (std::vector<std::uint8_t>{3}));
  ExpectLengths(d.collections[2], 3, 0, 0);
}

TEST(ReportDescriptorParser, LengthIsTheLargestReportOfEachKind) {
  const Bytes bytes = {
      0x06, 0x00, 0xFF, 0x09, 0x02, 0xA1, 0x01,
      0x75, 0x08,
      0x85, 0x04, 0x95, 0x03, 0x81, 0x02,              // id 4: 3 input bytes
      0x85, 0x05, 0x95, 0x04, 0x81, 0x02,              // id 5: 4 + 6 input bytes
      0x95, 0x06, 0x81, 0x03,
      0x85, 0x06, 0x95, 0x20, 0xB1, 0x02,              // id 6: 32 feature bytes
      0x85, 0x04, 0x75, 0x01, 0x95, 0x0C, 0x91, 0x02,  // id 4: 12 output bits -> 2 bytes
      0xC0,
  };
  const auto d = Parse(bytes);
  ASSERT_TRUE(d.ok()) << d.error;
  ASSERT_EQ(d.collections.size(), 1u);
  EXPECT_EQ(d.collections[0].reportIds, (std::vector<std::uint8_t>{4, 5, 6}));
  EXPECT_EQ(d.collections[0].inputReportIds, (std::vector<std::uint8_t>{4, 5})) << "6 is a feature report only";
  ExpectLengths(d.collections[0], 11, 3, 33);
}

TEST(ReportDescriptorParser, PopRestoresTheGlobalStateOfThePush) {
  const Bytes bytes = {
      0x05, 0x01, 0x09, 0x00, 0xA1, 0x01,
      0x75, 0x08, 0x95, 0x04,  // 4 x 8 bits
      0xA4,                    // Push
      0x75, 0x10, 0x95, 0x08,  // 8 x 16 bits
      0x81, 0x02,              // 128 bits
      0xB4,                    // Pop: 4 x 8 bits again
      0x81, 0x02,              // 32 bits
      0xC0,
  };
  const auto d = Parse(bytes);
  ASSERT_TRUE(d.ok()) << d.error;
  ASSERT_EQ(d.collections.size(), 1u);
  ExpectLengths(d.collections[0], 21, 0, 0);
}

TEST(ReportDescriptorParser, LongItemsAreSkippedAndFourByteUsagesCarryTheirPage) {
  const Bytes bytes = {
      0xFE, 0x02, 0x10, 0xAA, 0xBB,  // long item with two data bytes
      0x05, 0x01,                    // page 1, overridden by the extended usage
      0x0B, 0x05, 0x00, 0x00, 0xFF,  // Usage FF00:0005
      0xA1, 0x01,
      0x75, 0x08, 0x95, 0x02, 0x81, 0x02,
      0xFE, 0x00, 0x20,              // long item without data
      0xC0,
  };
  const auto d = Parse(bytes);
  ASSERT_TRUE(d.ok()) << d.error;
  ASSERT_EQ(d.collections.size(), 1u);
  EXPECT_EQ(d.collections[0].usagePage, 0xFF00);
  EXPECT_EQ(d.collections[0].usage, 0x05);
  ExpectLengths(d.collections[0], 3, 0, 0);
}

TEST(ReportDescriptorParser, PaddingAndArraysCountLikeData) {
  // 1 bit of data, 7 bits of constant padding, an array of three 8-bit slots.
  const Bytes bytes = {
      0x05, 0x09, 0x09, 0x01, 0xA1, 0x01,
      0x75, 0x01, 0x95, 0x01, 0x81, 0x02,
      0x75, 0x07, 0x81, 0x03,
      0x75, 0x08, 0x95, 0x03, 0x81, 0x00,
      0xC0,
  };
  const auto d = Parse(bytes);
  ASSERT_TRUE(d.ok()) << d.error;
  ExpectLengths(d.collections.at(0), 5, 0, 0);
}

TEST(ReportDescriptorParser, DescriptorsWithoutCollectionsHaveNone) {
  EXPECT_TRUE(Parse({}).ok());
  EXPECT_TRUE(Parse({}).collections.empty());
  // Data items without a collection around them belong to no collection.
  const auto d = Parse({0x05, 0x01, 0x09, 0x06, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02});
  EXPECT_TRUE(d.ok()) << d.error;
  EXPECT_TRUE(d.collections.empty());
}

TEST(ReportDescriptorParser, ZeroSizedFieldsMakeNoReport) {
  const auto d = Parse({0x05, 0x01, 0x09, 0x00, 0xA1, 0x01, 0x75, 0x08, 0x95, 0x00, 0x81, 0x02, 0xC0});
  ASSERT_TRUE(d.ok()) << d.error;
  ExpectLengths(d.collections.at(0), 0, 0, 0);
}

}  // namespace
}  // namespace hid::platform::descriptor
