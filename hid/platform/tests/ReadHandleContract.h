// The contract every binding's ReadHandle keeps, as GoogleTest tests that
// each binding runs on a fake device of its own.
//
// What the device layer relies on (HidPlatform.h says it in short):
//   - one read at a time: StartRead while a read is outstanding fails (EBUSY);
//     after a completed read a new one starts, whether or not its result was
//     taken (an untaken result is dropped);
//   - each read completes with one input report, id byte first, in the order
//     the device sent them; a cancelled read leaves its buffer alone and the
//     report for the next read;
//   - Wait ends at once on a completion, on Interrupt (also one that came
//     before the wait) and on Close; a time limit runs out as Timeout with the
//     read still outstanding; kInfiniteWait never runs out; without an
//     outstanding read Wait is a completion at once;
//   - Close and an unplug complete an outstanding read with nothing; later
//     reads do not start (EBADF after Close, ENODEV after an unplug); Close
//     may be called again.
//
// A binding's test file, linked with GoogleTest, provides the fake:
//
//   class MyFixture : public hid::platform::contract::ReadHandleFixture { ... };
//   INSTANTIATE_READ_HANDLE_CONTRACT(MyBinding, [] { return std::make_unique<MyFixture>(); });
//
// Include this header in one source file of a test executable only.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <thread>
#include <vector>

#include "hid/platform/HidPlatform.h"

namespace hid::platform::contract {

// One fake device with 8-byte input reports (report id 2) on the binding.
struct ReadHandleFixture {
  virtual ~ReadHandleFixture() = default;
  // A read handle on the device.
  virtual std::shared_ptr<ReadHandle> Open() = 0;
  // The device sends one input report, id byte first; it reaches the handles
  // open at that moment.
  virtual void Send(const std::vector<std::uint8_t>& report) = 0;
  // The device goes away.
  virtual void Unplug() = 0;
};

// Makes a fresh fixture for each test.
struct ReadHandleFixtureFactory {
  std::function<std::unique_ptr<ReadHandleFixture>()> make;
  friend void PrintTo(const ReadHandleFixtureFactory&, std::ostream* out) { *out << "the binding's fixture"; }
};

class ReadHandleContract : public ::testing::TestWithParam<ReadHandleFixtureFactory> {
 protected:
  using Report = std::vector<std::uint8_t>;
  // Long enough never to end a wait in a passing test.
  static constexpr std::uint32_t kLongWait = 30000;

  void SetUp() override {
    fixture = GetParam().make();
    ASSERT_NE(fixture, nullptr);
    handle = fixture->Open();
    ASSERT_NE(handle, nullptr);
  }
  void TearDown() override {
    handle.reset();
    fixture.reset();
  }

  static Report Answer(std::uint8_t n) { return {0x02, 0x81, n, 0x01, 0x04, 0x00, 0x00, 0x00}; }

  // Starts a read, waits for it and returns the bytes delivered.
  Report ReadOne() {
    std::array<std::uint8_t, 8> buffer{};
    EXPECT_TRUE(handle->StartRead(buffer.data(), 8)) << handle->LastError();
    EXPECT_EQ(handle->Wait(kLongWait), WaitResult::IoCompletion);
    std::uint32_t count = 0;
    EXPECT_TRUE(handle->GetResult(&count));
    return Report(buffer.begin(), buffer.begin() + count);
  }

  // Runs `action` on another thread after a short pause, while the test waits.
  class Later {
   public:
    explicit Later(std::function<void()> action)
        : thread_([action = std::move(action)] {
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
            action();
          }) {}
    ~Later() { thread_.join(); }

   private:
    std::thread thread_;
  };

  std::unique_ptr<ReadHandleFixture> fixture;
  std::shared_ptr<ReadHandle> handle;
};

TEST_P(ReadHandleContract, ReportsArriveOnePerReadInTheirOrder) {
  fixture->Send(Answer(0));
  fixture->Send(Answer(1));
  EXPECT_EQ(ReadOne(), Answer(0));
  EXPECT_EQ(ReadOne(), Answer(1));
}

TEST_P(ReadHandleContract, ANewReadStartsAfterACompletedOneWhoseResultWasNotTaken) {
  std::array<std::uint8_t, 8> buffer{};
  fixture->Send(Answer(0));
  ASSERT_TRUE(handle->StartRead(buffer.data(), 8));
  ASSERT_EQ(handle->Wait(kLongWait), WaitResult::IoCompletion);
  // The result stays untaken, as when a reader stops right after the completion.
  ASSERT_TRUE(handle->StartRead(buffer.data(), 8)) << "error " << handle->LastError();
  fixture->Send(Answer(1));
  ASSERT_EQ(handle->Wait(kLongWait), WaitResult::IoCompletion);
  std::uint32_t count = 0;
  ASSERT_TRUE(handle->GetResult(&count));
  EXPECT_EQ(Report(buffer.begin(), buffer.begin() + count), Answer(1));
}

TEST_P(ReadHandleContract, OneReadAtATime) {
  std::array<std::uint8_t, 8> buffer{};
  ASSERT_TRUE(handle->StartRead(buffer.data(), 8));
  EXPECT_FALSE(handle->StartRead(buffer.data(), 8));
  EXPECT_EQ(handle->LastError(), EBUSY);
  std::uint32_t count = 7;
  EXPECT_FALSE(handle->GetResult(&count)) << "nothing has completed yet";
  EXPECT_EQ(count, 0u);
  fixture->Send(Answer(3));
  ASSERT_EQ(handle->Wait(kLongWait), WaitResult::IoCompletion);
  ASSERT_TRUE(handle->GetResult(&count));
  EXPECT_EQ(count, 8u);
  EXPECT_EQ(buffer[2], 3);
}

TEST_P(ReadHandleContract, AWaitWithoutATimeLimitEndsWhenTheReportComes) {
  std::array<std::uint8_t, 8> buffer{};
  ASSERT_TRUE(handle->StartRead(buffer.data(), 8));
  {
    Later send([this] { fixture->Send(Answer(4)); });
    EXPECT_EQ(handle->Wait(kInfiniteWait), WaitResult::IoCompletion);
  }
  std::uint32_t count = 0;
  ASSERT_TRUE(handle->GetResult(&count));
  EXPECT_EQ(Report(buffer.begin(), buffer.begin() + count), Answer(4));
}

TEST_P(ReadHandleContract, InterruptEndsAWaitWithoutATimeLimitAndTheReadStaysOutstanding) {
  std::array<std::uint8_t, 8> buffer{};
  ASSERT_TRUE(handle->StartRead(buffer.data(), 8));
  {
    Later interrupt([this] { handle->Interrupt(); });
    EXPECT_EQ(handle->Wait(kInfiniteWait), WaitResult::Interrupted);
  }
  // An interrupt before the wait ends the next wait.
  handle->Interrupt();
  EXPECT_EQ(handle->Wait(kLongWait), WaitResult::Interrupted);
  fixture->Send(Answer(5));
  ASSERT_EQ(handle->Wait(kLongWait), WaitResult::IoCompletion);
  std::uint32_t count = 0;
  ASSERT_TRUE(handle->GetResult(&count));
  EXPECT_EQ(buffer[2], 5);
}

TEST_P(ReadHandleContract, ATimeLimitRunsOutWithTheReadStillOutstanding) {
  std::array<std::uint8_t, 8> buffer{};
  EXPECT_EQ(handle->Wait(kLongWait), WaitResult::IoCompletion) << "no read outstanding";
  ASSERT_TRUE(handle->StartRead(buffer.data(), 8));
  EXPECT_EQ(handle->Wait(20), WaitResult::Timeout);
  std::uint32_t count = 9;
  EXPECT_FALSE(handle->GetResult(&count));
  EXPECT_EQ(count, 0u);
  fixture->Send(Answer(6));
  ASSERT_EQ(handle->Wait(kLongWait), WaitResult::IoCompletion);
  ASSERT_TRUE(handle->GetResult(&count));
  EXPECT_EQ(buffer[2], 6);
}

TEST_P(ReadHandleContract, ACancelledReadLeavesItsBufferAndTheReportForTheNextRead) {
  std::array<std::uint8_t, 8> buffer{};
  ASSERT_TRUE(handle->StartRead(buffer.data(), 8));
  EXPECT_TRUE(handle->Cancel());
  fixture->Send(Answer(7));
  EXPECT_EQ(handle->Wait(kLongWait), WaitResult::IoCompletion);
  std::uint32_t count = 0;
  EXPECT_FALSE(handle->GetResult(&count));
  EXPECT_EQ(buffer, (std::array<std::uint8_t, 8>{}));
  EXPECT_EQ(ReadOne(), Answer(7));
}

TEST_P(ReadHandleContract, CloseEndsAWaitWithoutATimeLimitWithNothingRead) {
  std::array<std::uint8_t, 8> buffer{};
  ASSERT_TRUE(handle->StartRead(buffer.data(), 8));
  {
    Later close([this] {
      handle->Close();
      handle->Close();  // again: harmless
    });
    EXPECT_EQ(handle->Wait(kInfiniteWait), WaitResult::IoCompletion);
  }
  std::uint32_t count = 9;
  EXPECT_FALSE(handle->GetResult(&count));
  EXPECT_EQ(count, 0u);
  EXPECT_FALSE(handle->StartRead(buffer.data(), 8));
  EXPECT_EQ(handle->LastError(), EBADF);
  handle->Interrupt();  // harmless once closed
}

TEST_P(ReadHandleContract, AnUnplugCompletesTheReadWithNothingAndLaterReadsDoNotStart) {
  std::array<std::uint8_t, 8> buffer{};
  ASSERT_TRUE(handle->StartRead(buffer.data(), 8));
  {
    Later unplug([this] { fixture->Unplug(); });
    EXPECT_EQ(handle->Wait(kInfiniteWait), WaitResult::IoCompletion);
  }
  std::uint32_t count = 9;
  EXPECT_FALSE(handle->GetResult(&count));
  EXPECT_EQ(count, 0u);
  EXPECT_FALSE(handle->StartRead(buffer.data(), 8));
  EXPECT_EQ(handle->LastError(), ENODEV);
}

}  // namespace hid::platform::contract

// Runs the contract on a binding: `factory` makes a fresh ReadHandleFixture.
#define INSTANTIATE_READ_HANDLE_CONTRACT(Binding, factory)  \
  using ::hid::platform::contract::ReadHandleContract;      \
  INSTANTIATE_TEST_SUITE_P(Binding, ReadHandleContract,      \
                           ::testing::Values(::hid::platform::contract::ReadHandleFixtureFactory{factory}))
