// The hidden diagnostic write and the report history.
#include <QLineEdit>

#include <array>

#include "app/tests/PedalWindow.h"

namespace app {
namespace {

using test::PedalWindow;

using Bytes = std::vector<std::uint8_t>;

class DiagnosticsTest : public PedalWindow {
protected:
    void FillFields(const std::array<const char*, 7>& texts)
    {
        for (int i = 1; i <= 7; ++i)
            form->WriteEdits[i]->setText(QString::fromLatin1(texts[i - 1]));
    }
    QStringList Fields() const
    {
        QStringList texts;
        for (int i = 1; i <= 7; ++i)
            texts << form->WriteEdits[i]->text();
        return texts;
    }
};

TEST_F(DiagnosticsTest, PanelBytesAreSentRewrittenAndLogged)
{
    test::Pedal& pedal = Plug();
    StartAndWaitForAnswers();
    FillFields({"01", "1", "0", "e0", "4", "0", ""});
    const std::size_t writes = pedal.Device()->WriteCount();

    form->Button1Click();
    EXPECT_EQ(Fields(), (QStringList{"01", "01", "00", "E0", "04", "00", "00"}));
    ASSERT_TRUE(WaitForSends());
    ASSERT_EQ(pedal.Device()->WriteCount(), writes + 1);
    EXPECT_EQ(pedal.Device()->Writes().back(), (Bytes{0x02, 0x01, 0x01, 0x00, 0xE0, 0x04, 0x00, 0x00}));
    EXPECT_TRUE(History().contains("W 02  01 01 00 E0 04 00 00 ")) << History().join('|').toStdString();
    EXPECT_EQ(form->HistoryListBox->currentRow(), form->HistoryListBox->count() - 1);
}

TEST_F(DiagnosticsTest, HistoryKeepsTheNewestLinesUpToItsLimit)
{
    Start();
    const int limit = TMainForm::kHistoryLimit;
    for (int i = 0; i < limit + 5; ++i)
        form->AppendHistory(QString::number(i));
    ASSERT_EQ(form->HistoryListBox->count(), limit);
    EXPECT_EQ(form->HistoryListBox->item(0)->text(), "5");
    EXPECT_EQ(form->HistoryListBox->item(limit - 1)->text(), QString::number(limit + 4));
    EXPECT_EQ(form->HistoryListBox->currentRow(), limit - 1);   // the newest is selected
}

TEST_F(DiagnosticsTest, WithoutACurrentDeviceOnlyTheHeadIsLogged)
{
    Start();
    ASSERT_EQ(form->CurrentDevice, nullptr);
    FillFields({"a", "1FF", "xyz", "", "0", "0", "0"});
    form->Button1Click();
    EXPECT_EQ(Fields(), (QStringList{"0A", "FF", "00", "00", "00", "00", "00"}));
    EXPECT_EQ(History(), QStringList{"W 02  "});
}

}  // namespace
}  // namespace app
