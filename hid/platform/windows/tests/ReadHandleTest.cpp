// The overlapped read handle beyond the contract every binding keeps
// (WindowsReadHandleContractTest.cpp): the pedal's answers through it, and its
// file really closed however a close meets the reader.
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

TEST_F(ReadHandleTest, TheFirmwaresAnswerToARequestOnTheMainHandleArrivesHere) {
  auto main = fixture.Backend().Open(fixture.Path(), true);
  ASSERT_NE(main, nullptr);
  const std::uint8_t request[8] = {0x02, 0x01, 0x02, 0, 0, 0, 0, 0};
  std::uint32_t written = 0;
  ASSERT_TRUE(main->Write(request, sizeof request, &written));
  ASSERT_TRUE(reader->StartRead(buffer, sizeof buffer));
  EXPECT_EQ(reader->Wait(kInfiniteWait), WaitResult::IoCompletion);
  std::uint32_t count = 0;
  ASSERT_TRUE(reader->GetResult(&count));
  EXPECT_EQ(Bytes(buffer, buffer + count), (Bytes{0x02, 0x81, 0x02, 0x00, 0x28, 0x00, 0x00, 0x00}));  // Enter
}

// A device marked unplugged closes its read handle while the reader waits.
TEST_F(ReadHandleTest, CloseFromAnotherThreadDuringAReadClosesTheFile) {
  ASSERT_TRUE(reader->StartRead(buffer, sizeof buffer));
  std::thread closer([&] { reader->Close(); });
  EXPECT_EQ(reader->Wait(kInfiniteWait), WaitResult::IoCompletion);
  closer.join();
  // The pipe's server sees its client go: not left open behind the reader.
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
      while (handle->Wait(kInfiniteWait) != WaitResult::IoCompletion) {
      }
    }
    closer.join();
    handle.reset();
  }
  // Only the fixture's own reader is left.
  EXPECT_TRUE(WaitFor([&] { return FakeHidBus_Listeners(fixture.Id()) == 1; }));
}

}  // namespace
}  // namespace hid::platform::windows::test
