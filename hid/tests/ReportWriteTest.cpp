#include "hid/ReportWrite.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>

namespace {

TEST(ReportWriteTest, WholeReportOrAllButItsIdCounts) {
  struct Case {
    bool succeeded;
    std::uint32_t written;
    std::uint32_t length;
    bool complete;
  };
  const Case cases[] = {
      {true, 8, 8, true},    // every byte counted (hidraw; Windows without report ids)
      {true, 7, 8, true},    // the report id not counted (Windows and wine with report ids)
      {true, 6, 8, false},   // short
      {true, 0, 8, false},   // nothing, though the call succeeded
      {false, 8, 8, false},  // the call failed
      {false, 7, 8, false},
      {true, 1, 1, true},
      {true, 0, 1, false},   // a one-byte report has no byte to leave out
  };
  for (const Case& c : cases) {
    EXPECT_EQ(hid::ReportWriteComplete(c.succeeded, c.written, c.length), c.complete)
        << "succeeded " << c.succeeded << ", " << c.written << " of " << c.length;
  }
}

}  // namespace
