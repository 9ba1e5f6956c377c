#include "protocol/ExchangeQueue.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

namespace {

using protocol::ExchangeKind;
using protocol::ExchangeQueue;
using protocol::ExchangeResult;
using protocol::PedalReport;

// Records the reports "sent" as "<device>:<byte 1><byte 2>" and each outcome.
struct Wire {
    std::vector<std::string> sent;
    std::vector<std::string> outcomes;
    int failNth = -1;   // 0-based send that fails with EIO

    ExchangeQueue::Exchange Make(ExchangeKind kind, const char* device, std::vector<int> pedals,
                                 const char* name)
    {
        ExchangeQueue::Exchange exchange;
        exchange.kind = kind;
        exchange.target = device;
        for (int pedal : pedals)
            exchange.reports.push_back(kind == ExchangeKind::WriteIn
                                           ? PedalReport{2, 2, static_cast<std::uint8_t>(pedal)}
                                           : protocol::BuildReadRequest(pedal));
        exchange.send = [this, device](const PedalReport& report, int& error) {
            const bool fails = static_cast<int>(sent.size()) == failNth;
            sent.push_back(std::string(device) + ":" + std::to_string(report[1]) +
                           std::to_string(report[2]));
            error = fails ? EIO : 0;
            return !fails;
        };
        exchange.done = [this, name](const ExchangeResult& result) {
            std::string text = std::string(name) + (result.Succeeded() ? " ok" : " failed");
            for (int index : result.failed)
                text += " " + std::to_string(index);
            if (result.cut)
                text += " cut";
            if (result.error != 0)
                text += " errno " + std::to_string(result.error);
            outcomes.push_back(text);
        };
        return exchange;
    }
};

// Runs the queue as the event loop does: send, pause, send ... until empty.
void RunToEnd(ExchangeQueue& queue)
{
    for (int guard = 0; guard < 100 && (queue.SendNext() || queue.Pausing()); ++guard) {
        if (auto finished = queue.PauseEnded(); finished && finished->done)
            finished->done(finished->result);
    }
}

TEST(ExchangeQueue, OneReportPerPauseInOrderAndTheOutcomeAfterTheLastPause)
{
    Wire wire;
    ExchangeQueue queue;
    ASSERT_TRUE(queue.Add(wire.Make(ExchangeKind::WriteIn, "A", {0, 1, 2}, "write")));
    ASSERT_TRUE(queue.Add(wire.Make(ExchangeKind::ReadOut, "A", {0}, "read")));

    ASSERT_TRUE(queue.SendNext());
    EXPECT_FALSE(queue.SendNext());   // the pause runs
    EXPECT_EQ(wire.sent, (std::vector<std::string>{"A:20"}));
    EXPECT_FALSE(queue.PauseEnded());
    ASSERT_TRUE(queue.SendNext());
    EXPECT_FALSE(queue.PauseEnded());
    ASSERT_TRUE(queue.SendNext());
    EXPECT_TRUE(queue.HoldsWriteIn());   // through the pause after its last report
    auto finished = queue.PauseEnded();
    ASSERT_TRUE(finished.has_value());
    EXPECT_TRUE(finished->result.Succeeded());
    EXPECT_FALSE(queue.HoldsWriteIn());

    RunToEnd(queue);
    EXPECT_EQ(wire.sent, (std::vector<std::string>{"A:20", "A:21", "A:22", "A:10"}));
    EXPECT_EQ(wire.outcomes, (std::vector<std::string>{"read ok"}));
    EXPECT_TRUE(queue.Empty());
    EXPECT_FALSE(queue.Pausing());
}

TEST(ExchangeQueue, FailedWritesAreCountedAndTheRestStillGoes)
{
    Wire wire;
    wire.failNth = 1;
    ExchangeQueue queue;
    queue.Add(wire.Make(ExchangeKind::WriteIn, "A", {0, 1, 2}, "write"));
    RunToEnd(queue);
    EXPECT_EQ(wire.sent.size(), 3u);
    EXPECT_EQ(wire.outcomes, (std::vector<std::string>{"write failed 1 errno 5"}));
}

TEST(ExchangeQueue, RepeatsBehindAWriteInAreDroppedOtherwiseKept)
{
    Wire wire;
    ExchangeQueue queue;
    // No write-in: every read-out goes, repeats included.
    EXPECT_TRUE(queue.Add(wire.Make(ExchangeKind::ReadOut, "A", {0, 1}, "r1")));
    EXPECT_TRUE(queue.Add(wire.Make(ExchangeKind::ReadOut, "A", {0, 1}, "r2")));
    RunToEnd(queue);
    EXPECT_EQ(wire.sent.size(), 4u);

    wire.sent.clear();
    wire.outcomes.clear();
    EXPECT_TRUE(queue.Add(wire.Make(ExchangeKind::WriteIn, "A", {0}, "w1")));
    queue.SendNext();   // the write-in is under way
    EXPECT_TRUE(queue.Add(wire.Make(ExchangeKind::ReadOut, "A", {0, 1}, "r3")));
    EXPECT_FALSE(queue.Add(wire.Make(ExchangeKind::ReadOut, "A", {0, 1}, "r4")));   // same, waiting
    EXPECT_TRUE(queue.Add(wire.Make(ExchangeKind::ReadOut, "A", {0}, "r5")));       // other count
    EXPECT_TRUE(queue.Add(wire.Make(ExchangeKind::ReadOut, "B", {0, 1}, "r6")));    // other pedal
    EXPECT_TRUE(queue.Add(wire.Make(ExchangeKind::WriteIn, "A", {0}, "w2")));       // under way: not a waiting repeat
    EXPECT_FALSE(queue.Add(wire.Make(ExchangeKind::WriteIn, "A", {0}, "w3")));
    EXPECT_TRUE(queue.Add(wire.Make(ExchangeKind::Diagnostic, "A", {0}, "d1")));
    EXPECT_TRUE(queue.Add(wire.Make(ExchangeKind::Diagnostic, "A", {0}, "d2")));     // never dropped
    RunToEnd(queue);
    EXPECT_EQ(wire.sent, (std::vector<std::string>{"A:20", "A:10", "A:11", "A:10", "B:10", "B:11",
                                                   "A:20", "A:10", "A:10"}));
    EXPECT_FALSE(queue.Add(wire.Make(ExchangeKind::ReadOut, "A", {}, "empty")));
}

TEST(ExchangeQueue, ADeviceThatGoesTakesItsExchangesAlongTheRestCarriesOn)
{
    Wire wire;
    ExchangeQueue queue;
    queue.Add(wire.Make(ExchangeKind::WriteIn, "A", {0, 1, 2}, "write"));
    queue.Add(wire.Make(ExchangeKind::ReadOut, "B", {0}, "readB"));
    queue.Add(wire.Make(ExchangeKind::ReadOut, "A", {0}, "readA"));
    ASSERT_TRUE(queue.SendNext());   // A:20, then A goes during the pause

    std::vector<ExchangeQueue::Finished> dropped = queue.Forget("A");
    ASSERT_EQ(dropped.size(), 2u);
    EXPECT_EQ(dropped[0].result.failed, (std::vector<int>{1, 2}));
    EXPECT_TRUE(dropped[0].result.cut);
    EXPECT_FALSE(dropped[0].result.Succeeded());
    EXPECT_EQ(dropped[1].result.failed, (std::vector<int>{0}));
    EXPECT_FALSE(queue.HoldsWriteIn());

    // The pause goes on; then the other device's read-out.
    EXPECT_FALSE(queue.SendNext());
    EXPECT_FALSE(queue.PauseEnded());
    RunToEnd(queue);
    EXPECT_EQ(wire.sent, (std::vector<std::string>{"A:20", "B:10"}));
    EXPECT_EQ(wire.outcomes, (std::vector<std::string>{"readB ok"}));

    // An exchange whose reports all went before its device did is whole.
    queue.Add(wire.Make(ExchangeKind::WriteIn, "C", {0}, "writeC"));
    queue.SendNext();
    dropped = queue.Forget("C");
    ASSERT_EQ(dropped.size(), 1u);
    EXPECT_TRUE(dropped[0].result.Succeeded());
    EXPECT_FALSE(dropped[0].result.cut);
}

// An exchange that awaits answers holds the queue after its last pause until
// they are in, the caller ends the wait, or its device goes.
TEST(ExchangeQueue, AnExchangeAwaitingAnswersHoldsTheQueueUntilTheWaitEnds)
{
    Wire wire;
    ExchangeQueue queue;
    bool awaited = true;
    const auto awaiting = [&](const char* name) {
        ExchangeQueue::Exchange write = wire.Make(ExchangeKind::WriteIn, "A", {0}, name);
        write.awaitsAnswers = [&awaited] { return awaited; };
        return write;
    };
    queue.Add(awaiting("write"));
    queue.Add(wire.Make(ExchangeKind::ReadOut, "A", {1}, "read"));
    ASSERT_TRUE(queue.SendNext());
    EXPECT_FALSE(queue.PauseEnded());
    EXPECT_TRUE(queue.AwaitingAnswers());
    EXPECT_TRUE(queue.HoldsWriteIn());
    EXPECT_FALSE(queue.SendNext());
    EXPECT_FALSE(queue.EndWait(false));
    awaited = false;
    const auto finished = queue.EndWait(false);
    ASSERT_TRUE(finished.has_value());
    EXPECT_TRUE(finished->result.Succeeded());
    EXPECT_FALSE(queue.AwaitingAnswers());
    EXPECT_FALSE(queue.HoldsWriteIn());
    RunToEnd(queue);
    EXPECT_EQ(wire.sent, (std::vector<std::string>{"A:20", "A:11"}));

    // Answered before the pause was over: no wait. Forced, or the device
    // went: the wait ends all the same.
    for (const char* end : {"answered", "forced", "gone"}) {
        awaited = std::string(end) != "answered";
        queue.Add(awaiting(end));
        queue.SendNext();
        const bool ended = queue.PauseEnded().has_value();
        EXPECT_EQ(ended, !awaited) << end;
        if (std::string(end) == "forced") {
            EXPECT_TRUE(queue.EndWait(true).has_value());
        } else if (std::string(end) == "gone") {
            EXPECT_EQ(queue.Forget("A").size(), 1u);
        }
        EXPECT_FALSE(queue.AwaitingAnswers()) << end;
        EXPECT_TRUE(queue.Empty()) << end;
    }
}

}  // namespace
