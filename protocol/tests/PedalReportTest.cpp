#include "protocol/PedalReport.h"

#include <gtest/gtest.h>

namespace {

using protocol::PedalReport;

TEST(PedalReport, ReadRequestsForEachPedal) {
    EXPECT_EQ(protocol::BuildReadRequest(0), (PedalReport{0x02, 0x01, 0x00, 0, 0, 0, 0, 0}));
    EXPECT_EQ(protocol::BuildReadRequest(1), (PedalReport{0x02, 0x01, 0x01, 0, 0, 0, 0, 0}));
    EXPECT_EQ(protocol::BuildReadRequest(2), (PedalReport{0x02, 0x01, 0x02, 0, 0, 0, 0, 0}));
}

TEST(PedalReport, WriteReportCarriesTheRowBytes) {
    protocol::PedalConfigTable table;
    table.SetSlot(0, 0, "02");
    table.SetSlot(0, 1, "04");
    table.SetSlot(0, 2, "00");
    table.SetSlot(0, 3, "00");
    table.SetSlot(1, 0, "FF");
    table.SetSlot(1, 1, "");
    table.SetSlot(1, 2, "1FF");
    table.SetSlot(1, 3, "zz");
    EXPECT_EQ(protocol::BuildWriteReport(table, 0),
              (PedalReport{0x02, 0x02, 0x00, 0x02, 0x04, 0x00, 0x00, 0x00}));
    EXPECT_EQ(protocol::BuildWriteReport(table, 1),
              (PedalReport{0x02, 0x02, 0x01, 0xFF, 0x00, 0xFF, 0x00, 0x00}));
}

TEST(PedalReport, WriteReportFromAFreshTableSendsZeros) {
    const protocol::PedalConfigTable table;
    EXPECT_EQ(protocol::BuildWriteReport(table, 2),
              (PedalReport{0x02, 0x02, 0x02, 0, 0, 0, 0, 0}));
}

struct DiagnosticCase {
    std::array<std::string, 7> fields;
    PedalReport report;
    std::array<std::string, 7> fieldsAfter;
};

class DiagnosticCases : public testing::TestWithParam<DiagnosticCase> {};

TEST_P(DiagnosticCases, BuildsBytesAndRewritesFields) {
    auto fields = GetParam().fields;
    EXPECT_EQ(protocol::BuildDiagnosticReport(fields), GetParam().report);
    EXPECT_EQ(fields, GetParam().fieldsAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, DiagnosticCases,
    testing::Values(
        DiagnosticCase{{"01", "1", "0", "e0", "4", "0", ""},
                       {0x02, 0x01, 0x01, 0x00, 0xE0, 0x04, 0x00, 0x00},
                       {"01", "01", "00", "E0", "04", "00", "00"}},
        DiagnosticCase{{"a", "1FF", "xyz", "", "FFFFFFFF", "100000000", " 5"},
                       {0x02, 0x0A, 0xFF, 0x00, 0x00, 0xFF, 0x00, 0x00},
                       {"0A", "FF", "00", "00", "FF", "00", "00"}}));

}  // namespace
