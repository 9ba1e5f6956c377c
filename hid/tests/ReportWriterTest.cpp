// Writes off the main thread: outcomes come back through the queue, a device
// that never takes a report fails it after the time limit, and the caller
// never waits for the device.
#include <cerrno>
#include <future>

#include "HidTestSupport.h"
#include "hid/ReportWriter.h"

namespace hid::test {
namespace {

using platform::virt::WriteFailure;

class ReportWriterTest : public HidFixture {
 protected:
  THidDevice* Pedal(VirtualDeviceDescription desc, bool checkOut = true) {
    pedal = bus.Plug(std::move(desc));
    MakeController();
    Pump();
    return checkOut ? CheckOut(0) : ctl->At(0);
  }
  // Writes one report and serves the queue until its outcome arrives.
  void Write(THidDevice& device, std::vector<std::uint8_t> report = {2, 2, 0, 1, 4, 0, 0, 0}) {
    writer.Write(device, std::move(report), [this](const ReportWriter::Outcome& o) { outcomes.push_back(o); });
  }
  bool Outcomes(std::size_t n) { return ServeUntil([&] { return outcomes.size() >= n; }); }

  std::shared_ptr<VirtualDevice> pedal;
  ReportWriter writer{queue};
  std::vector<ReportWriter::Outcome> outcomes;
};

TEST_F(ReportWriterTest, EachWriteEndsWithTheDevicesAnswerOrTheReasonItCouldNotBeMade) {
  struct Case {
    const char* name;
    std::function<void(VirtualDeviceDescription&)> setUp;
    bool checkOut;
    bool ok;
    std::uint32_t written;
    int error;
  };
  const Case cases[] = {
      {"taken", [](auto&) {}, true, true, 8, 0},
      {"failed", [](auto& d) { d.writeFailure = WriteFailure{1, false, EPIPE}; }, true, false, 0, EPIPE},
      {"never taken", [](auto& d) { d.writeFailure = WriteFailure{0, true, EIO, true}; }, true, false, 0, ETIMEDOUT},
      {"no access rights", [](auto& d) { d.access = Access::ReadWriteRefused; }, true, false, 0, EACCES},
      {"not checked out", [](auto&) {}, false, false, 0, EPERM},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    if (pedal) bus.Unplug(pedal);
    outcomes.clear();
    auto desc = PedalDescription();
    c.setUp(desc);
    THidDevice* device = Pedal(desc, c.checkOut);
    ASSERT_NE(device, nullptr);
    Write(*device);
    EXPECT_TRUE(outcomes.empty()) << "the outcome comes from the queue, not from inside Write";
    ASSERT_TRUE(Outcomes(1));
    EXPECT_EQ(outcomes[0].ok, c.ok);
    EXPECT_EQ(outcomes[0].written, c.written);
    EXPECT_EQ(outcomes[0].error, c.error);
    EXPECT_EQ(pedal->WriteCount(), c.ok ? 1u : 0u);
  }
}

TEST_F(ReportWriterTest, TheCallerDoesNotWaitForADeviceThatNeverTakesTheReport) {
  auto desc = PedalDescription();
  desc.writeFailure = WriteFailure{1, false, EIO, true};
  THidDevice* device = Pedal(desc);
  Write(*device, {2, 1, 0, 0, 0, 0, 0, 0});
  Write(*device, {2, 2, 0, 1, 4, 0, 0, 0});
  // Write has returned while the device still holds the first report back:
  // the unplug ends that wait (a write that had waited out its limit in the
  // caller would have failed with ETIMEDOUT).
  bus.Unplug(pedal);
  ASSERT_TRUE(Outcomes(2));
  EXPECT_FALSE(outcomes[0].ok);
  EXPECT_EQ(outcomes[0].error, ENODEV);
  EXPECT_FALSE(outcomes[1].ok) << "the next write, in order, finds the device gone";
  EXPECT_EQ(outcomes[1].error, ENODEV);
}

TEST_F(ReportWriterTest, OutcomesOfAWriterThatWentAreNotDelivered) {
  THidDevice* device = Pedal(PedalDescription());
  bool delivered = false;
  std::promise<void> taken;
  pedal->SetWriteHook([&](const std::uint8_t*, std::size_t) { taken.set_value(); });
  {
    ReportWriter gone(queue);
    gone.Write(*device, {2, 1, 0, 0, 0, 0, 0, 0}, [&](const ReportWriter::Outcome&) { delivered = true; });
    // The write is under way; the writer goes before the queue is served.
    ASSERT_EQ(taken.get_future().wait_for(10s), std::future_status::ready);
  }
  queue.ServePending();
  EXPECT_FALSE(delivered);
}

}  // namespace
}  // namespace hid::test
