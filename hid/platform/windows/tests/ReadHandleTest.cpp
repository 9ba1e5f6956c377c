// The overlapped read handle: a read started, ended by its completion, a
// stop, the timeout, a cancel, an unplug or a close from another thread.
#include <atomic>
#include <cerrno>
#include <thread>
#include <vector>

#include "hid/platform/windows/tests/WindowsReadHandleFixture.h"

namespace hid::platform::windows::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

class ReadHandleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reader = fixture.Open();
    ASSERT_NE(reader, nullptr) << fixture.Backend().ErrorText();
  }

  WindowsReadHandleFixture fixture;
  std::shared_ptr<ReadHandle> reader;
  std::uint8_t buffer[8] = {};
};

const Bytes kAnswer{0x02, 0x81, 0x00, 0x01, 0x06, 0x00, 0x00, 0x00};

TEST_F(ReadHandleTest, AReadCompletesWithOneReportAndTheFirmwareAnswersThroughIt) {
  ASSERT_TRUE(reader->StartRead(buffer, sizeof buffer));
  EXPECT_FALSE(reader->StartRead(buffer, sizeof buffer));  // one at a time
  EXPECT_EQ(reader->LastError(), EBUSY);
  fixture.Send(kAnswer);
  EXPECT_EQ(reader->Wait(kInfiniteWait), WaitResult::IoCompletion);
  std::uint32_t count = 0;
  ASSERT_TRUE(reader->GetResult(&count));
  EXPECT_EQ(count, 8u);
  EXPECT_EQ(Bytes(buffer, buffer + count), kAnswer);

  // A read request written on the main handle: the firmware's answer arrives here.
  auto main = fixture.Backend().Open(fixture.Path(), true);
  ASSERT_NE(main, nullptr);
  const std::uint8_t request[8] = {0x02, 0x01, 0x02, 0, 0, 0, 0, 0};
  std::uint32_t written = 0;
  ASSERT_TRUE(main->Write(request, sizeof request, &written));
  ASSERT_TRUE(reader->StartRead(buffer, sizeof buffer));
  EXPECT_EQ(reader->Wait(kInfiniteWait), WaitResult::IoCompletion);
  ASSERT_TRUE(reader->GetResult(&count));
  EXPECT_EQ(Bytes(buffer, buffer + count), (Bytes{0x02, 0x81, 0x02, 0x00, 0x28, 0x00, 0x00, 0x00}));  // Enter
}

TEST_F(ReadHandleTest, TimeoutAndInterruptLeaveTheReadOutstanding) {
  ASSERT_TRUE(reader->StartRead(buffer, sizeof buffer));
  EXPECT_EQ(reader->Wait(10), WaitResult::Timeout);
  std::uint32_t count = 9;
  EXPECT_FALSE(reader->GetResult(&count));
  EXPECT_EQ(count, 0u);
  std::thread stopper([&] {
    std::this_thread::sleep_for(20ms);
    reader->Interrupt();
  });
  EXPECT_EQ(reader->Wait(kInfiniteWait), WaitResult::Interrupted);
  stopper.join();
  fixture.Send(kAnswer);
  EXPECT_EQ(reader->Wait(kInfiniteWait), WaitResult::IoCompletion);
  ASSERT_TRUE(reader->GetResult(&count));
  EXPECT_EQ(Bytes(buffer, buffer + count), kAnswer);
}

TEST_F(ReadHandleTest, ACancelledReadNeverWritesItsBufferAndTheReportWaitsForTheNext) {
  ASSERT_TRUE(reader->StartRead(buffer, sizeof buffer));
  EXPECT_TRUE(reader->Cancel());
  fixture.Send(kAnswer);
  std::uint8_t next[8] = {};
  ASSERT_TRUE(reader->StartRead(next, sizeof next));
  EXPECT_EQ(reader->Wait(kInfiniteWait), WaitResult::IoCompletion);
  std::uint32_t count = 0;
  ASSERT_TRUE(reader->GetResult(&count));
  EXPECT_EQ(Bytes(next, next + count), kAnswer);
  EXPECT_EQ(Bytes(buffer, buffer + 8), Bytes(8, 0));
}

TEST_F(ReadHandleTest, UnplugDuringAReadEndsItWithoutData) {
  ASSERT_TRUE(reader->StartRead(buffer, sizeof buffer));
  std::thread unplug([&] { fixture.Unplug(); });
  EXPECT_EQ(reader->Wait(kInfiniteWait), WaitResult::IoCompletion);
  unplug.join();
  std::uint32_t count = 5;
  EXPECT_FALSE(reader->GetResult(&count));
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(reader->LastError(), ENODEV);
  EXPECT_FALSE(reader->StartRead(buffer, sizeof buffer));
  EXPECT_EQ(reader->LastError(), ENODEV);
}

// Close from another thread, as a device marked unplugged closes its read
// handle while the reader waits without a time limit.
TEST_F(ReadHandleTest, CloseFromAnotherThreadEndsAWaitAndTheFileCloses) {
  ASSERT_TRUE(reader->StartRead(buffer, sizeof buffer));
  std::thread closer([&] {
    std::this_thread::sleep_for(20ms);
    reader->Close();
  });
  EXPECT_EQ(reader->Wait(kInfiniteWait), WaitResult::IoCompletion);
  closer.join();
  std::uint32_t count = 5;
  EXPECT_FALSE(reader->GetResult(&count));
  EXPECT_EQ(count, 0u);
  EXPECT_FALSE(reader->StartRead(buffer, sizeof buffer));
  EXPECT_EQ(reader->LastError(), EBADF);
  reader->Close();  // idempotent
  // The pipe's server sees the client go: the file handle is closed, not left behind.
  EXPECT_TRUE(WaitFor([&] { return FakeHidBus_Listeners(fixture.Id()) == 0; }));
  EXPECT_EQ(Bytes(buffer, buffer + 8), Bytes(8, 0));
}

TEST_F(ReadHandleTest, ManyClosesRacingTheReaderLeaveNothingOpen) {
  for (int round = 0; round < 50; ++round) {
    int error = 0;
    auto handle = fixture.Backend().OpenRead(fixture.Path(), &error);
    ASSERT_NE(handle, nullptr);
    std::atomic<bool> go{false};
    std::thread closer([&] {
      while (!go.load()) std::this_thread::yield();
      handle->Close();
    });
    std::uint8_t local[8] = {};
    const bool started = handle->StartRead(local, sizeof local);
    go = true;
    if (started) {
      WaitResult result;
      do {
        result = handle->Wait(kInfiniteWait);
      } while (result != WaitResult::IoCompletion);
    }
    closer.join();
    handle.reset();
  }
  // Only the fixture's own reader is left.
  EXPECT_TRUE(WaitFor([&] { return FakeHidBus_Listeners(fixture.Id()) == 1; }));
}

}  // namespace
}  // namespace hid::platform::windows::test
