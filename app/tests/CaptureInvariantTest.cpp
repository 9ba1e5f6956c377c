// What the pedal is programmed with always matches what the window shows.
// A random mix of user actions and device events (hook key events, Tab in
// the key box, tab clicks, focus changes, count changes, "Read out",
// "Write in", answers arriving late or unasked, other devices arriving and
// leaving, the pedal unplugged and plugged in again, and a close at the end)
// on a simulated pedal that answers late. After every step:
//   - each row's codes type what its text names, and the key edit box shows
//     the selected row's text: what the next write-in sends is what is shown;
//   - every row the pedal was sent carries an assignment the pedal answered
//     or the window's table took on: none was written without being read
//     out or set (an erased row goes out as zeros).
// The seed is printed; VARNOK_TEST_SEED replays one.
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "app/TabBar.h"
#include "app/TabControl.h"
#include "app/tests/PedalWindow.h"
#include "keys/KeyNames.h"
#include "protocol/HistoryLine.h"

namespace app {
namespace {

using test::PedalWindow;
using Assignment = std::array<std::uint8_t, 4>;

// What a row makes the pedal type: the modifier bits and the keys in order.
struct Typed {
    std::uint8_t modifiers = 0;
    std::vector<int> keys;
    bool operator==(const Typed&) const = default;
};

// The keys a shown text names ("Ctrl+Shift+A", "A+Ctrl", "+C" ...). An
// empty name names nothing; a name the vocabulary does not know names a key
// the pedal cannot type: a key of its own (-1) that no codes match.
Typed TypedByText(const std::string& text)
{
    Typed typed;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('+', start), text.size());
        const std::string name = text.substr(start, end - start);
        const int n = keys::UsageNumber(name);
        if (n >= keys::kFirstModifierUsage && n <= keys::kLastModifierUsage)
            typed.modifiers |= static_cast<std::uint8_t>(1u << (n - keys::kFirstModifierUsage));
        else if (!name.empty() && typed.keys.size() < 3)
            typed.keys.push_back(n >= 1 && n <= 101 ? n : -1);
        start = end + 1;
    }
    return typed;
}

Typed TypedByCodes(const protocol::PedalConfigTable& table, int row)
{
    Typed typed;
    typed.modifiers = table.ByteOf(row, 0);
    for (int slot = 1; slot <= 3; ++slot) {
        const int code = table.ByteOf(row, slot);
        if (code != 0 && code != 0xFF)
            typed.keys.push_back(code);
    }
    return typed;
}

std::string Describe(const Typed& typed)
{
    std::string text = "modifiers " + std::to_string(typed.modifiers) + ", keys";
    for (int key : typed.keys)
        text += " " + std::to_string(key);
    return text;
}

struct HookKey {
    std::uint32_t scan;
    const char* name;
};
constexpr HookKey kHookKeys[] = {{0x1D, "Ctrl"}, {0x2A, "Shift"}, {0x38, "Alt"}, {0x1E, "A"},
                                 {0x30, "B"},    {0x2E, "C"},     {0x02, "1"},   {0x3F, "F5"}};
constexpr std::uint32_t kTabScan = 0x0F;
// Codes of answers: none, letters, digits, F1..F12.
constexpr int kAnswerKeys[] = {0, 0, 4, 5, 6, 7, 20, 29, 30, 31, 39, 58, 62, 69};

class CaptureInvariantTest : public PedalWindow {
protected:
    // Every answer the pedal gives and every write report it receives.
    void WatchPedal(test::Pedal& pedal)
    {
        pedal.SetReportObserver([this](bool answer, const std::uint8_t* data, std::size_t length) {
            if (length < 7 || data[0] != 0x02)
                return;
            const Assignment value{data[3], data[4], data[5], data[6]};
            std::lock_guard lock(mutex_);
            if (answer && data[1] > 0x80 && data[2] < 3)
                given_[data[2]].insert(value);
            else if (!answer && data[1] == 0x02 && data[2] < 3)
                written_.push_back({data[2], value});
        });
    }

    // An answer for `pedal` that nobody asked for, through its reader.
    void Answer(int pedal, std::uint8_t modifiers, int key1, int key2, int key3)
    {
        const std::vector<std::uint8_t> report{0x02, 0x81, static_cast<std::uint8_t>(pedal), modifiers,
                                               static_cast<std::uint8_t>(key1),
                                               static_cast<std::uint8_t>(key2),
                                               static_cast<std::uint8_t>(key3), 0x00};
        {
            std::lock_guard lock(mutex_);
            given_[pedal].insert({report[3], report[4], report[5], report[6]});
        }
        const QString line = QString::fromStdString(
            protocol::ReceivedHistoryLine(report[0], report.data() + 1, static_cast<std::uint16_t>(report.size() - 1)));
        const auto seen = [&] { return History().count(line); };
        const auto before = seen();
        pedals.front()->Device()->InjectInput(report);
        ASSERT_TRUE(WaitFor([&] { return seen() > before; }));
    }

    // Until the window handled a device change after `scans` scans; one
    // that waited for a write-in runs from the loop once the write-in ends.
    void WaitForDeviceChange(unsigned scans)
    {
        ASSERT_TRUE(WaitForScans(scans + 1));
        ASSERT_TRUE(WaitFor([this] { return !form->WriteInInFlight(); }));
        QTest::qWait(20);
    }

    void ClickTab(int index)
    {
        TTabBar* bar = form->RzTabControl1->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }

    void ExpectShownAsTyped(const std::string& step)
    {
        const int selected = form->RzTabControl1->currentIndex();
        ASSERT_EQ(form->RzEdit1->text().toStdString(), form->PedalConfigTable.KeyText(selected)) << step;
        for (int row = 0; row < form->PedalCount(); ++row) {
            const Typed byText = TypedByText(form->PedalConfigTable.KeyText(row));
            const Typed byCodes = TypedByCodes(form->PedalConfigTable, row);
            ASSERT_EQ(byText, byCodes) << step << ": pedal " << row + 1 << " shows \""
                                       << form->PedalConfigTable.KeyText(row) << "\" ("
                                       << Describe(byText) << ") but would type "
                                       << Describe(byCodes);
        }
    }

    // What the table took on since the last step counts as set or read; then
    // every report the pedal received must carry such an assignment.
    void ExpectNothingWrittenUnread(const std::string& step)
    {
        std::lock_guard lock(mutex_);
        for (int row = 0; row < 3 && form != nullptr; ++row) {
            const Assignment now{form->PedalConfigTable.ByteOf(row, 0), form->PedalConfigTable.ByteOf(row, 1),
                                 form->PedalConfigTable.ByteOf(row, 2), form->PedalConfigTable.ByteOf(row, 3)};
            if (now != table_[row])
                given_[row].insert(now);
            table_[row] = now;
        }
        for (; checked_ < written_.size(); ++checked_) {
            const auto& [row, value] = written_[checked_];
            ASSERT_EQ(given_[row].count(value), 1u)
                << step << ": pedal " << row + 1 << " was written " << int(value[0]) << "-"
                << int(value[1]) << "-" << int(value[2]) << "-" << int(value[3])
                << ", which it never held and nobody set";
        }
    }

    std::mutex mutex_;
    std::array<std::set<Assignment>, 3> given_;
    std::array<Assignment, 3> table_{};
    std::vector<std::pair<int, Assignment>> written_;
    std::size_t checked_ = 0;
};

TEST_F(CaptureInvariantTest, TheWindowShowsWhatThePedalIsWrittenWithOnEveryStep)
{
    const char* given = std::getenv("VARNOK_TEST_SEED");
    const unsigned seed = given != nullptr ? static_cast<unsigned>(std::strtoul(given, nullptr, 10)) : 1u;
    std::printf("CaptureInvariantTest seed %u (replay with VARNOK_TEST_SEED=%u)\n", seed, seed);
    std::mt19937 random(seed);
    auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };

    test::Pedal& pedal = Plug();
    pedal.Firmware().SetSlot(1, {0x02, 0x05, 0x00, 0x00});   // Shift+B
    pedal.Firmware().SetSlot(2, {0x04, 0x1E, 0x00, 0x00});   // Alt+1
    pedal.Firmware().SetOptions({.answerDelay = std::chrono::milliseconds(60)});
    WatchPedal(pedal);
    ASSERT_NO_FATAL_FAILURE(StartAndWaitForAnswers());
    ASSERT_NO_FATAL_FAILURE(ExpectShownAsTyped("start"));
    ASSERT_NO_FATAL_FAILURE(ExpectNothingWrittenUnread("start"));
    test::VirtualDeviceDescription keyboard;
    keyboard.vendorId = 0x046D;
    keyboard.productId = 0xC31C;
    keyboard.inputLength = 9;
    std::vector<std::shared_ptr<hid::platform::virt::VirtualDevice>> others;

    for (int i = 0; i < 400; ++i) {
        std::string step = "step " + std::to_string(i) + ": ";
        const bool found = form->CurrentDevice != nullptr;
        switch (pick(16)) {
        case 0:
        case 1: {
            const HookKey& key = kHookKeys[pick(8)];
            step += std::string("press ") + key.name;
            Key(key.scan, true);
            break;
        }
        case 2:
        case 3: {
            const HookKey& key = kHookKeys[pick(8)];
            step += std::string("release ") + key.name;
            Key(key.scan, false);
            break;
        }
        case 4:
            step += "Tab in the key box";
            if (form->RzEdit1->hasFocus()) {
                Key(kTabScan, true);
                QTest::keyClick(form->RzEdit1, Qt::Key_Tab);
            }
            break;
        case 5: {
            const int tab = pick(form->PedalCount());
            step += "click on Pedal " + std::to_string(tab + 1);
            if (found)
                ClickTab(tab);
            break;
        }
        case 6: {
            const int row = pick(3);
            const auto modifiers = static_cast<std::uint8_t>(pick(4) == 0 ? 0 : pick(256));
            step += "unasked answer for pedal " + std::to_string(row + 1);
            if (pedal.Plugged()) {
                ASSERT_NO_FATAL_FAILURE(Answer(row, modifiers, kAnswerKeys[pick(14)], kAnswerKeys[pick(14)],
                                               kAnswerKeys[pick(14)])) << step;
            }
            break;
        }
        case 7:
            step += "focus on the key box";
            form->RzEdit1->setFocus(Qt::MouseFocusReason);
            break;
        case 8: {
            const int count = 1 + pick(3);
            step += "count " + std::to_string(count);
            if (form->RzSpinEdit1->isEnabled() && form->RzSpinEdit1->isVisible())
                form->RzSpinEdit1->setValue(count);
            break;
        }
        case 9:
            step += "Read out";
            if (form->RzBitBtn2->isEnabled())
                QTest::mouseClick(form->RzBitBtn2, Qt::LeftButton);
            break;
        case 10:
        case 11:
            step += "Write in";
            if (form->RzBitBtn1->isEnabled())
                QTest::mouseClick(form->RzBitBtn1, Qt::LeftButton);
            break;
        // A device change is handled before the next step (unasked answers
        // need a reader); one during a write-in waits for its end.
        case 12: {
            const unsigned scans = bus.ScanCount();
            if (others.empty() || pick(2) == 0) {
                step += "a keyboard arrives";
                others.push_back(bus.Plug(keyboard));
            } else {
                step += "a keyboard leaves";
                bus.Unplug(others.back());
                others.pop_back();
            }
            ASSERT_NO_FATAL_FAILURE(WaitForDeviceChange(scans)) << step;
            break;
        }
        case 13: {
            const unsigned scans = bus.ScanCount();
            step += pedal.Plugged() ? "the pedal is unplugged" : "the pedal is plugged in";
            if (pedal.Plugged())
                pedal.Unplug();
            else
                pedal.Replug();
            ASSERT_NO_FATAL_FAILURE(WaitForDeviceChange(scans)) << step;
            break;
        }
        default: {
            const int ms = pick(200);
            step += "wait " + std::to_string(ms) + " ms";
            QTest::qWait(ms);
            break;
        }
        }
        SCOPED_TRACE(step);
        ASSERT_NO_FATAL_FAILURE(ExpectShownAsTyped(step));
        ASSERT_NO_FATAL_FAILURE(ExpectNothingWrittenUnread(step));
    }

    // Closed during a write-in: the write-in ends first, every report goes.
    if (!pedal.Plugged())
        pedal.Replug();
    ASSERT_TRUE(WaitFor([this] {
        return form->RzBitBtn1->isEnabled() && !form->ExchangesPending() && !form->ReadPending;
    }));
    const std::size_t before = pedal.Device()->WriteCount();
    const int from = form->HistoryListBox->count();
    form->RzBitBtn1Click();
    form->close();
    ASSERT_TRUE(WaitFor([this] { return !form->isVisible(); }));
    // The write reports, and the read requests that check them.
    const auto writes = static_cast<std::size_t>(HistoryLines("W 02  02", from).size());
    const auto sent = static_cast<std::size_t>(HistoryLines("W", from).size());
    form.reset();
    ASSERT_NO_FATAL_FAILURE(ExpectNothingWrittenUnread("close"));
    EXPECT_GE(writes, 1u);
    EXPECT_EQ(sent, 2 * writes);
    EXPECT_EQ(pedal.Device()->WriteCount(), before + sent);
}

// An answer that arrives while a key is still held shows and stores the
// answer's codes, not the held key.
TEST_F(CaptureInvariantTest, AnswerWhileAKeyIsHeldKeepsTheAnswersCodes)
{
    Plug();
    ASSERT_NO_FATAL_FAILURE(StartAndWaitForAnswers());
    form->RzEdit1->setFocus(Qt::MouseFocusReason);
    Key(0x1D, true);   // Ctrl held
    ASSERT_NO_FATAL_FAILURE(Answer(0, 0x04, 0x06, 0, 0));   // Alt+C
    EXPECT_EQ(form->RzEdit1->text(), "Alt+C");
    EXPECT_EQ(form->PedalConfigTable.JoinedCodeText(0), "04-06-00-00");
}

}  // namespace
}  // namespace app
