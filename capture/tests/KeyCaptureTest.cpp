// Capture of held keys from the hook's messages, with the key entry running
// nested in the key edit box's text change as the window wires it.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "capture/KeyCapture.h"
#include "capture/KeyEntry.h"
#include "keys/tests/GermanLetters.h"
#include "protocol/PedalConfigTable.h"

namespace {

using Names = std::vector<std::string>;

constexpr std::uint32_t kKey = 0x1400, kLWin = 0x2400, kRWin = 0x3400, kApps = 0x3500;

// Key data as the hook sends it.
std::uint32_t Down(unsigned scan, bool ext = false) {
    return 1u | (scan << 16) | (ext ? 1u << 24 : 0u);
}
std::uint32_t Repeat(unsigned scan, bool ext = false) { return Down(scan, ext) | 0x40000000u; }
std::uint32_t Up(unsigned scan, bool ext = false) { return Down(scan, ext) | 0xC0000000u; }

constexpr unsigned kCtrl = 0x1D, kShift = 0x2A, kAlt = 0x38, kA = 0x1E, kB = 0x30,
                   kY = 0x15, kIso = 0x56, kF13 = 0x64, kVolumeUp = 0x30;


class Capture : public ::testing::Test {
protected:
    Capture() {
        capture_.SetView({
            [this](const std::string& text) {
                keyEdit_.push_back(text);
                if (auto codes = capture::ApplyKeyEntry(text, 0, capture_.CapturedKeyList(), table_,
                                                        capture_.Naming()))
                    edit2_.push_back(*codes);
            },
            [this](const std::string& text) { edit1_.push_back(text); },
            [this](const std::string& reason) { refused_.push_back(reason); },
            nullptr,
        });
    }

    void Key(std::uint32_t lParam) {
        const std::uint32_t wParam = (lParam & 0x80000000u) ? 257 : 256;
        EXPECT_TRUE(capture_.HandleHookMessage(kKey, wParam, lParam, true));
    }
    void Named(std::uint32_t message, std::uint32_t wParam) {
        EXPECT_TRUE(capture_.HandleHookMessage(message, wParam, 0, true));
    }

    capture::KeyCapture capture_;
    protocol::PedalConfigTable table_;
    Names keyEdit_, edit1_, edit2_, refused_;
};

TEST_F(Capture, FirstReleaseShowsTheCombinationAndLaterOnesOnlyTakeNamesOff) {
    Key(Down(kCtrl));
    Key(Down(kA));
    EXPECT_EQ(capture_.CaptureCount(), 2);
    Key(Up(kA));
    EXPECT_EQ(keyEdit_, Names{"Ctrl+A"});
    EXPECT_EQ(edit1_, Names{"224-4"});
    EXPECT_EQ(edit2_, Names{"01-04-00-00"});
    EXPECT_EQ(table_.KeyText(0), "Ctrl+A");
    EXPECT_EQ(capture_.CapturedKeyList(), Names{"Ctrl"});
    EXPECT_EQ(capture_.CaptureCount(), 0);

    Key(Up(kCtrl));
    EXPECT_EQ(keyEdit_.size(), 1u);
    EXPECT_EQ(edit1_.size(), 1u);
    EXPECT_TRUE(capture_.CapturedKeyList().empty());

    Key(Up(kCtrl));  // a release with nothing held changes nothing
    EXPECT_EQ(keyEdit_.size(), 1u);
}

TEST_F(Capture, WhicheverKeyIsReleasedFirstTheWholeCombinationIsShown) {
    Key(Down(kCtrl));
    Key(Down(kShift));
    Key(Down(kA));
    Key(Up(kShift));
    EXPECT_EQ(keyEdit_, Names{"Ctrl+Shift+A"});
    EXPECT_EQ(edit1_, Names{"224-225-4"});
    EXPECT_EQ(table_.JoinedCodeText(0), "03-04-00-00");
    EXPECT_EQ(capture_.CapturedKeyList(), (Names{"Ctrl", "A"}));
    Key(Up(kA));
    Key(Up(kCtrl));
    EXPECT_EQ(keyEdit_.size(), 1u);
}

TEST_F(Capture, AFourthKeyEmptiesTheList) {
    for (unsigned scan : {kCtrl, kShift, kAlt}) Key(Down(scan));
    EXPECT_EQ(capture_.CaptureCount(), 3);
    Key(Down(kA));
    EXPECT_TRUE(capture_.CapturedKeyList().empty());
    EXPECT_EQ(capture_.CaptureCount(), 0);
    for (unsigned scan : {kA, kAlt, kShift, kCtrl}) Key(Up(scan));
    EXPECT_TRUE(keyEdit_.empty());
    EXPECT_TRUE(edit1_.empty());
}

TEST_F(Capture, AutoRepeatOfAnOrdinaryKeyChangesNothing) {
    Key(Down(kCtrl));
    Key(Down(kA));
    Key(Up(kA));
    Key(Repeat(kCtrl));  // Ctrl still held and repeating
    EXPECT_EQ(capture_.CaptureCount(), 0);
    Key(Up(kCtrl));
    EXPECT_EQ(keyEdit_, Names{"Ctrl+A"});
}

TEST_F(Capture, WindowsAndApplicationKeysUseFixedNamesAndWParam) {
    Named(kLWin, 256);
    Named(kRWin, 256);
    Named(kApps, 256);
    EXPECT_EQ(capture_.CapturedKeyList(), (Names{"Left Windows", "Right Windows", "Application"}));
    Named(kApps, 0x104);  // neither down nor up
    Named(kLWin, 256);    // repeated press report: already in the list
    EXPECT_EQ(capture_.CaptureCount(), 3);
    Named(kRWin, 257);
    EXPECT_EQ(keyEdit_, Names{"Left Windows+Right Windows+Application"});
    EXPECT_EQ(edit1_, Names{"227-231-101"});
    EXPECT_EQ(table_.JoinedCodeText(0), "88-65-00-00");
    EXPECT_EQ(capture_.CapturedKeyList(), (Names{"Left Windows", "Application"}));
}

TEST_F(Capture, MessagesWhileInactiveAreIgnored) {
    Key(Down(kCtrl));
    for (std::uint32_t message : {kLWin, kRWin, kApps})
        EXPECT_TRUE(capture_.HandleHookMessage(message, 256, 0, false));
    EXPECT_TRUE(capture_.HandleHookMessage(kKey, 256, Down(kA), false));
    EXPECT_TRUE(capture_.HandleHookMessage(kKey, 257, Up(kCtrl), false));
    EXPECT_EQ(capture_.CapturedKeyList(), Names{"Ctrl"});
    EXPECT_EQ(capture_.CaptureCount(), 1);
    EXPECT_TRUE(keyEdit_.empty());

    EXPECT_FALSE(capture_.HandleHookMessage(0x0100, 256, Down(kA), true));  // not a hook message
    EXPECT_EQ(capture_.CapturedKeyList(), Names{"Ctrl"});
}

TEST_F(Capture, ReleaseOfANameNotHeldShowsButKeepsTheCount) {
    Key(Down(kCtrl));
    Key(Down(kA));
    Key(Up(kB));
    EXPECT_EQ(keyEdit_, Names{"Ctrl+A"});
    EXPECT_EQ(edit1_, Names{"224-4"});
    EXPECT_EQ(capture_.CaptureCount(), 2);
    EXPECT_EQ(capture_.CapturedKeyList(), (Names{"Ctrl", "A"}));
    Key(Up(kA));  // the count was kept, so this release shows again
    EXPECT_EQ(keyEdit_.size(), 2u);
    EXPECT_EQ(capture_.CaptureCount(), 0);
}

// What the pedal can hold is shown and entered; a combination with any other
// key is refused, naming the key, and the row keeps what it had.
TEST_F(Capture, OnlyKeysThePedalCanHoldAreShown) {
    struct Case {
        std::vector<std::uint32_t> keys;  // pressed in order, the last released first
        const char* shown;                // nullptr: refused
        const char* refused;              // the key named in the refusal
        const char* row;
    };
    const Case cases[] = {
        {{Down(kIso), Down(kA)}, "Non-US \\+A", nullptr, "00-64-04-00"},
        {{Down(kCtrl), Down(kF13)}, nullptr, "F13", "02-05-00-00"},
        {{Down(kVolumeUp, true)}, nullptr, "Volume Up", "02-05-00-00"},
        {{Down(0x5A), Down(kB)}, nullptr, "Key 5A", "02-05-00-00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.refused != nullptr ? c.refused : c.shown);
        capture::ApplyKeyEntry("Shift+B", 0, {"Shift", "B"}, table_);
        keyEdit_.clear();
        refused_.clear();
        for (std::uint32_t key : c.keys) Key(key);
        Key(c.keys.back() | 0xC0000000u);
        EXPECT_EQ(keyEdit_, c.shown != nullptr ? Names{c.shown} : Names{});
        EXPECT_EQ(refused_, c.refused != nullptr ? Names{c.refused} : Names{});
        EXPECT_EQ(table_.JoinedCodeText(0), c.row);
        capture_.Reset();
    }
}

TEST_F(Capture, ACombinationWithAKeyThePedalTypedIsNotShown) {
    // The pedal typed B; whatever else is held, a combination with that
    // press of B is the pedal's, and the box keeps what it had.
    std::vector<std::string> asked;
    capture::CaptureView view;
    view.setKeyEditText = [this](const std::string& text) { keyEdit_.push_back(text); };
    view.fromPedal = [&asked](const std::string& name, std::chrono::steady_clock::time_point) {
        asked.push_back(name);
        return name == "B";
    };
    capture_.SetView(view);
    for (const auto& keys : {std::vector{kShift, kB}, std::vector{kB}, std::vector{kCtrl, kA}}) {
        for (unsigned key : keys) Key(Down(key));
        for (unsigned key : keys) Key(Up(key));
    }
    EXPECT_EQ(keyEdit_, Names{"Ctrl+A"});
    EXPECT_EQ(asked, (Names{"Shift", "B", "B", "Ctrl", "A"}));
}

TEST_F(Capture, TabAndShiftTabMoveTheFocusAndAreNoCombination) {
    // Their reports may come before the focus has left the box.
    constexpr unsigned kTab = 0x0F;
    for (const auto& keys : {std::vector{kTab}, std::vector{kShift, kTab}, std::vector{kCtrl, kTab}}) {
        for (unsigned key : keys) Key(Down(key));
        for (unsigned key : keys) Key(Up(key));
    }
    EXPECT_EQ(keyEdit_, Names{"Ctrl+Tab"});
}

TEST_F(Capture, KeysAreNamedInTheLayoutAndEnteredByPosition) {
    capture_.SetNaming(keys::KeyNaming(keys::testing::GermanLetters()));
    Key(Down(kCtrl));
    Key(Down(kY));
    Key(Up(kY));
    EXPECT_EQ(keyEdit_, Names{"Ctrl+Z"});
    EXPECT_EQ(edit1_, Names{"224-28"});
    EXPECT_EQ(table_.JoinedCodeText(0), "01-1C-00-00");
    Key(Up(kCtrl));
    EXPECT_TRUE(capture_.CapturedKeyList().empty());
}

// The layout changes while keys are held: their releases still match.
TEST_F(Capture, KeysHeldAcrossALayoutChangeAreRenamed) {
    Key(Down(kCtrl));
    Key(Down(kY));
    capture_.SetNaming(keys::KeyNaming(keys::testing::GermanLetters()));
    EXPECT_EQ(capture_.CapturedKeyList(), (Names{"Ctrl", "Z"}));
    Key(Up(kY));
    Key(Up(kCtrl));
    EXPECT_EQ(keyEdit_, Names{"Ctrl+Z"});
    EXPECT_TRUE(capture_.CapturedKeyList().empty());
}

TEST_F(Capture, AFailingWindowCallbackEndsTheHandlingSilently) {
    capture_.SetView({[](const std::string&) { throw std::runtime_error("widget gone"); },
                      [this](const std::string& text) { edit1_.push_back(text); },
                      {},
                      {}});
    Key(Down(kCtrl));
    EXPECT_NO_THROW(Key(Up(kCtrl)));
    EXPECT_TRUE(edit1_.empty());
    // The handling stopped before the name came off the list.
    EXPECT_EQ(capture_.CapturedKeyList(), Names{"Ctrl"});

    capture_.SetView({});  // no callbacks at all: the rules still run
    Key(Up(kCtrl));
    EXPECT_TRUE(capture_.CapturedKeyList().empty());
}

}  // namespace
