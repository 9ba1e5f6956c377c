#include <gtest/gtest.h>

#include <array>

#include "hid/platform/linux/Utf16Text.h"

namespace hid::platform::linux_ {
namespace {

TEST(Utf16Text, DecodesEveryLengthAndReplacesInvalidSequences) {
  EXPECT_EQ(Utf8ToUtf16("Pedal"), u"Pedal");
  EXPECT_EQ(Utf8ToUtf16("\xC3\xA9\xE2\x82\xAC"), u"é€");
  EXPECT_EQ(Utf8ToUtf16("\xF0\x9F\x98\x80"), u"\U0001F600");  // a surrogate pair
  EXPECT_EQ(Utf8ToUtf16("a\xFF" "b"), u"a\uFFFD" "b");
  EXPECT_EQ(Utf8ToUtf16("\xC3"), u"\uFFFD");             // cut short
  EXPECT_EQ(Utf8ToUtf16("\xC3" "A"), u"\uFFFD" "A");      // next byte kept
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD");         // overlong
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD");     // encoded surrogate
}

TEST(Utf16Text, CopyWritesAtMostTheBufferAndATerminatorWhenThereIsRoom) {
  std::array<WideChar, 6> buffer;
  buffer.fill(0xFFFF);
  ASSERT_TRUE(CopyToWideBuffer(u"ABC", buffer.data(), 12));
  EXPECT_EQ(buffer, (std::array<WideChar, 6>{u'A', u'B', u'C', 0, 0xFFFF, 0xFFFF}));

  buffer.fill(0xFFFF);
  ASSERT_TRUE(CopyToWideBuffer(u"ABCDEFGH", buffer.data(), 7));  // 3 units
  EXPECT_EQ(buffer, (std::array<WideChar, 6>{u'A', u'B', u'C', 0xFFFF, 0xFFFF, 0xFFFF}));

  EXPECT_FALSE(CopyToWideBuffer(u"A", buffer.data(), 1));
  EXPECT_FALSE(CopyToWideBuffer(u"A", nullptr, 8));
}

}  // namespace
}  // namespace hid::platform::linux_
