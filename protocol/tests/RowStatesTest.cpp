#include "protocol/RowStates.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

using protocol::RowStates;

// One row's history, as tokens: qT request sent at T ms, cT the request that
// checks the write sent at T ms, l the last request sent could not be
// written after all, aT answer at T ms, u set by the user, Q
// write-in queued, s its report sent, e write-in ended, r another pedal, d
// the device asked was given back.
// `answers` gets y / n / c per answer: it counted, it did not, it counted
// as the answer to the check.
struct Case {
    const char* steps;
    const char* answers;
    RowStates::State end;
};

class RowStatesTest : public ::testing::TestWithParam<Case> {};

TEST_P(RowStatesTest, AnAnswerCountsOnlyForARequestSentAfterTheRowWasLastSetOrWritten)
{
    constexpr int kRow = 2;
    RowStates states;
    std::istringstream steps(GetParam().steps);
    std::string answers;
    RowStates::RequestId last = 0;
    for (std::string token; steps >> token;) {
        const auto at = RowStates::Clock::time_point{} +
                        std::chrono::milliseconds(token.size() > 1 ? std::stoi(token.substr(1)) : 0);
        switch (token[0]) {
            case 'q': last = states.RequestSent(kRow, at); break;
            case 'c': last = states.CheckSent(kRow, at); break;
            case 'l': states.RequestLost(kRow, last); break;
            case 'a': answers += "nyc"[static_cast<int>(states.AnswerArrived(kRow, at))]; break;
            case 'u': states.UserSet(kRow); break;
            case 'Q': states.WriteQueued(kRow); break;
            case 's': states.WriteSent(kRow); break;
            case 'e': states.WriteEnded(kRow); break;
            case 'r': states.Reset(); break;
            case 'd': states.DropRequests(); break;
            default: FAIL() << token;
        }
    }
    EXPECT_EQ(answers, GetParam().answers) << GetParam().steps;
    EXPECT_EQ(states.Of(kRow), GetParam().end) << GetParam().steps;
    EXPECT_EQ(states.Known(kRow), GetParam().end != RowStates::State::Unknown);
    EXPECT_FALSE(states.Known(kRow + 1));   // rows are apart
    EXPECT_FALSE(states.Writing(kRow));
}

using S = RowStates::State;
INSTANTIATE_TEST_SUITE_P(
    Sequences, RowStatesTest,
    ::testing::Values(
        Case{"", "", S::Unknown},
        Case{"q0 a10", "y", S::ReadOut},
        Case{"a0", "y", S::ReadOut},                    // asked for before a rescan
        Case{"q0 u a300", "n", S::SetByUser},           // late answer after a capture
        Case{"q0 u q100 a300 a310", "ny", S::ReadOut},  // "Read out" after the capture
        Case{"u a0", "n", S::SetByUser},
        // A read-out queued ahead of the write-in, answered late.
        Case{"Q q0 s50 e100 a300", "n", S::SetByUser},
        Case{"q0 Q s e a300", "n", S::SetByUser},
        // An answer while the write-in is in flight, even to a later request.
        Case{"Q s q60 a70 e", "n", S::SetByUser},
        Case{"Q s e q200 a210", "y", S::ReadOut},
        // The check after the write counts even while the write-in is in
        // flight; an answer to a request before the write does not.
        Case{"Q s c60 a70 e", "c", S::ReadOut},
        Case{"q0 Q s c60 a300 a310 e", "nc", S::ReadOut},
        Case{"Q s c60 s a300 e", "n", S::SetByUser},   // a later write went first
        Case{"Q s c60 e a2100 q2200 a2210", "ny", S::ReadOut},
        // A request that could not be written takes no answer away.
        Case{"q0 l Q s c60 a70 e", "c", S::ReadOut},
        Case{"Q s c60 l e a70", "n", S::SetByUser},
        // Requests to a device object given back are answered by none.
        Case{"q0 d Q s c60 a70 e", "c", S::ReadOut},
        Case{"q0 u d a10", "n", S::SetByUser},
        // A request never answered counts as lost after the limit.
        Case{"q0 u q2500 a2510", "y", S::ReadOut},
        Case{"q0 u a2500", "n", S::SetByUser},
        Case{"q0 a5 r", "y", S::Unknown},
        Case{"q0 r a10", "y", S::ReadOut}));

TEST(RowStates, RowsOutOfRangeAreNeverKnown)
{
    RowStates states;
    for (int row : {-1, protocol::PedalConfigTable::kRowCount}) {
        states.RequestSent(row, {});
        states.WriteQueued(row);
        states.CheckSent(row, {});
        EXPECT_EQ(states.AnswerArrived(row, {}), RowStates::Answer::Ignored);
        EXPECT_FALSE(states.Known(row));
        EXPECT_FALSE(states.Writing(row));
    }
}

}  // namespace
