// Reads through the hidraw read handle beyond the shared contract
// (LinuxReadHandleContractTest.cpp): the pedal's answers, report boundaries
// and lengths, devices without report ids, reads of one collection of a
// composite node, closes racing waits.
#include <algorithm>
#include <array>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "hid/platform/linux/HidrawReadHandle.h"
#include "hid/platform/linux/tests/BackendTestbed.h"

namespace hid::platform::linux_::fakes {
namespace {

using Report = std::vector<std::uint8_t>;
// Long enough never to end a wait in a passing test; a wait that should have
// ended earlier shows up as a wrong result.
constexpr std::uint32_t kLongWait = 30000;

class LinuxReadHandle : public BackendTestbed {
 protected:
  // Starts a read, waits for it and returns the bytes delivered.
  Report ReadOne(ReadHandle& handle) {
    std::array<std::uint8_t, 64> buffer{};
    EXPECT_TRUE(handle.StartRead(buffer.data(), 8));
    EXPECT_EQ(handle.Wait(kLongWait), WaitResult::IoCompletion);
    std::uint32_t count = 0;
    EXPECT_TRUE(handle.GetResult(&count));
    return Report(buffer.begin(), buffer.begin() + count);
  }
};

TEST_F(LinuxReadHandle, PedalAnswersAReadRequest) {
  auto& node = bed.Plug(FakePedal::Description());
  FakePedal pedal(node);
  pedal.firmware().SetSlot(1, {0x02, 0x04, 0x00, 0x00});
  auto main = backend.Open("/dev/hidraw0", true);
  auto reader = backend.OpenRead("/dev/hidraw0");
  ASSERT_NE(main, nullptr);
  ASSERT_NE(reader, nullptr);

  const std::uint8_t request[8] = {0x02, 0x01, 0x01, 0, 0, 0, 0, 0};
  std::uint32_t written = 0;
  ASSERT_TRUE(main->Write(request, 8, &written));
  EXPECT_EQ(ReadOne(*reader), (Report{0x02, 0x81, 0x01, 0x02, 0x04, 0x00, 0x00, 0x00}));

  // A write report is stored and read back.
  const std::uint8_t store[8] = {0x02, 0x02, 0x00, 0x05, 0x1D, 0x00, 0x00, 0x00};
  ASSERT_TRUE(main->Write(store, 8, &written));
  const std::uint8_t readBack[8] = {0x02, 0x01, 0x00, 0, 0, 0, 0, 0};
  ASSERT_TRUE(main->Write(readBack, 8, &written));
  EXPECT_EQ(ReadOne(*reader), (Report{0x02, 0x81, 0x00, 0x05, 0x1D, 0x00, 0x00, 0x00}));
  EXPECT_EQ(pedal.firmware().GetSlot(0), (sim::PedalFirmware::Slot{0x05, 0x1D, 0x00, 0x00}));
}

TEST_F(LinuxReadHandle, ReportsKeepTheirBoundaries) {
  auto& node = bed.Plug(FakePedal::Description());
  auto reader = backend.OpenRead("/dev/hidraw0");
  ASSERT_NE(reader, nullptr);
  node.SendInput({0x02, 0x81, 0x00, 1, 2, 3, 4, 5});
  node.SendInput({0x02, 0x81, 0x01, 6, 7, 8, 9, 10});
  node.SendInput({0x00, 0x10});
  EXPECT_EQ(ReadOne(*reader), (Report{0x02, 0x81, 0x00, 1, 2, 3, 4, 5}));
  EXPECT_EQ(ReadOne(*reader), (Report{0x02, 0x81, 0x01, 6, 7, 8, 9, 10}));
  EXPECT_EQ(ReadOne(*reader), (Report{0x00, 0x10}));
}

TEST_F(LinuxReadHandle, LongerReportIsCutToTheReadLength) {
  auto& node = bed.Plug(FakePedal::Description());
  auto reader = backend.OpenRead("/dev/hidraw0");
  ASSERT_NE(reader, nullptr);
  node.SendInput({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
  std::array<std::uint8_t, 16> buffer{};
  ASSERT_TRUE(reader->StartRead(buffer.data(), 8));
  ASSERT_EQ(reader->Wait(kLongWait), WaitResult::IoCompletion);
  std::uint32_t count = 0;
  ASSERT_TRUE(reader->GetResult(&count));
  EXPECT_EQ(count, 8u);
  EXPECT_EQ(buffer[7], 8);
  EXPECT_EQ(buffer[8], 0) << "nothing written past the read length";
}

TEST_F(LinuxReadHandle, CloseRacingWaitsNeverHangs) {
  bed.Plug(FakePedal::Description());
  for (int round = 0; round < 50; ++round) {
    auto reader = backend.OpenRead("/dev/hidraw0");
    ASSERT_NE(reader, nullptr);
    std::array<std::uint8_t, 8> buffer{};
    std::thread readerThread([&] {
      // Waits until the close ends the outstanding read.
      while (reader->StartRead(buffer.data(), 8)) {
        while (reader->Wait(kLongWait) != WaitResult::IoCompletion) {
        }
      }
    });
    if (round % 2 == 0) std::this_thread::yield();
    reader->Close();
    readerThread.join();
    EXPECT_EQ(reader->LastError(), EBADF);
  }
}

TEST_F(LinuxReadHandle, CollectionOfACompositeNodeReadsOnlyItsOwnReports) {
  auto& node = bed.Plug(Composite());
  auto config = backend.OpenRead("/dev/hidraw0#col2");
  ASSERT_NE(config, nullptr);
  auto* hidraw = dynamic_cast<HidrawReadHandle*>(config.get());
  ASSERT_NE(hidraw, nullptr);
  ASSERT_TRUE(hidraw->ReportFilter().has_value());
  EXPECT_TRUE(hidraw->ReportFilter()->test(2));
  EXPECT_EQ(hidraw->ReportFilter()->count(), 1u);

  node.SendInput({0x01, 0x00, 0x00, 0x04, 0, 0, 0, 0, 0});  // a key press
  node.SendInput({0x03, 0xE9, 0x00});                       // volume up
  node.SendInput({0x02, 0x81, 0x00, 0x01, 0x06, 0, 0, 0});  // the pedal's answer
  EXPECT_EQ(ReadOne(*config), (Report{0x02, 0x81, 0x00, 0x01, 0x06, 0, 0, 0}));
  config->Close();

  auto keyboard = backend.OpenRead("/dev/hidraw0#col1");
  ASSERT_NE(keyboard, nullptr);
  node.SendInput({0x02, 0x81, 0x01, 0, 0, 0, 0, 0});
  node.SendInput({0x01, 0x02, 0x00, 0x05, 0, 0, 0, 0, 0});
  EXPECT_EQ(ReadOne(*keyboard), (Report{0x01, 0x02, 0x00, 0x05, 0, 0, 0, 0}));

  int error = 0;
  EXPECT_EQ(backend.OpenRead("/dev/hidraw0#col4", &error), nullptr);
  EXPECT_EQ(error, ENOENT);
}

TEST_F(LinuxReadHandle, ReportsOfADeviceWithoutReportIdsComeWithAZeroId) {
  auto& node = bed.Plug(Keyboard());  // a boot keyboard: no report ids
  auto reader = backend.OpenRead("/dev/hidraw0");
  ASSERT_NE(reader, nullptr);
  // Shift+A as hidraw hands it out: the data alone.
  node.SendInput({0x02, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00});
  node.SendInput({0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00});
  std::array<std::uint8_t, 9> buffer{};
  buffer.fill(0xEE);
  ASSERT_TRUE(reader->StartRead(buffer.data(), 9));  // the keyboard's input length, id byte included
  ASSERT_EQ(reader->Wait(kLongWait), WaitResult::IoCompletion);
  std::uint32_t count = 0;
  ASSERT_TRUE(reader->GetResult(&count));
  EXPECT_EQ(count, 9u);
  EXPECT_EQ(buffer, (std::array<std::uint8_t, 9>{0x00, 0x02, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00}));
  // A shorter read gets the zero id and the first data bytes.
  ASSERT_TRUE(reader->StartRead(buffer.data(), 3));
  ASSERT_EQ(reader->Wait(kLongWait), WaitResult::IoCompletion);
  ASSERT_TRUE(reader->GetResult(&count));
  EXPECT_EQ(count, 3u);
  EXPECT_EQ(buffer[0], 0x00);
}

// The composite descriptor, padded with harmless global items to the largest
// size the kernel accepts, which its descriptor ioctl cannot hand out.
std::vector<std::uint8_t> LargestCompositeDescriptor() {
  auto bytes = descriptor::known::kCompositeKeyboard;
  constexpr std::size_t kSize = 4096;  // HID_MAX_DESCRIPTOR_SIZE
  if ((kSize - bytes.size()) % 2 != 0) bytes.insert(bytes.end(), {0x56, 0x00, 0x00});  // Unit Exponent, 2 data bytes
  while (bytes.size() < kSize) bytes.insert(bytes.end(), {0x55, 0x00});              // Unit Exponent 0
  return bytes;
}

TEST_F(LinuxReadHandle, ADescriptorOfTheLargestSizeStillSortsTheReports) {
  FakeDeviceDescription d = Composite();
  d.reportDescriptor = LargestCompositeDescriptor();
  ASSERT_EQ(d.reportDescriptor.size(), 4096u);
  auto& node = bed.Plug(d);
  int error = 0;
  auto config = backend.OpenRead("/dev/hidraw0#col2", &error);
  ASSERT_NE(config, nullptr) << "error " << error;
  auto* hidraw = dynamic_cast<HidrawReadHandle*>(config.get());
  ASSERT_TRUE(hidraw->ReportFilter().has_value());
  EXPECT_TRUE(hidraw->ReportFilter()->test(2));
  EXPECT_EQ(hidraw->ReportFilter()->count(), 1u);
  // The plain node reads its first collection only.
  auto plain = backend.OpenRead("/dev/hidraw0");
  ASSERT_NE(plain, nullptr);
  auto* first = dynamic_cast<HidrawReadHandle*>(plain.get());
  ASSERT_TRUE(first->ReportFilter().has_value());
  EXPECT_TRUE(first->ReportFilter()->test(1));
  EXPECT_EQ(first->ReportFilter()->count(), 1u);

  node.SendInput({0x01, 0x00, 0x00, 0x04, 0, 0, 0, 0, 0});
  node.SendInput({0x02, 0x81, 0x00, 0x01, 0x06, 0, 0, 0});
  EXPECT_EQ(ReadOne(*config), (Report{0x02, 0x81, 0x00, 0x01, 0x06, 0, 0, 0}));
}

TEST_F(LinuxReadHandle, AReportIdOfTwoCollectionsIsReadByTheFirstOnly) {
  FakeDeviceDescription d = Composite();
  d.reportDescriptor = {
      // Keyboard, report id 1: input 3 + 1
      0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x85, 0x01, 0x75, 0x08, 0x95, 0x03, 0x15, 0x00, 0x25, 0x65,
      0x05, 0x07, 0x19, 0x00, 0x29, 0x65, 0x81, 0x00, 0xC0,
      // Vendor collection with more fields of report 1, and report 2 of its own
      0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x01, 0x75, 0x08, 0x95, 0x02, 0x09, 0x01, 0x81, 0x02,
      0x85, 0x02, 0x95, 0x07, 0x09, 0x01, 0x81, 0x02, 0x09, 0x01, 0x91, 0x02, 0xC0,
  };
  auto& node = bed.Plug(d);
  auto first = backend.OpenRead("/dev/hidraw0#col1");
  auto second = backend.OpenRead("/dev/hidraw0#col2");
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  node.SendInput({0x01, 0x04, 0x00, 0x00, 0x11, 0x22});
  node.SendInput({0x02, 0x81, 0x00, 0x01, 0x06, 0, 0, 0});
  EXPECT_EQ(ReadOne(*first), (Report{0x01, 0x04, 0x00, 0x00, 0x11, 0x22}));
  EXPECT_EQ(ReadOne(*second), (Report{0x02, 0x81, 0x00, 0x01, 0x06, 0, 0, 0})) << "report 1 went to collection 1 only";
}

TEST_F(LinuxReadHandle, TwoCollectionsOfOneNodeReadAtTheSameTime) {
  constexpr std::size_t kEach = 40;
  // hidraw keeps at most 64 unread reports per fd and drops later ones. Every
  // fd of the node gets all three reports of a round, so the sender stays at
  // most kAhead rounds ahead of the slower reader.
  constexpr std::size_t kAhead = 8;
  auto& node = bed.Plug(Composite());
  auto keyboard = backend.OpenRead("/dev/hidraw0#col1");
  auto config = backend.OpenRead("/dev/hidraw0#col2");
  ASSERT_NE(keyboard, nullptr);
  ASSERT_NE(config, nullptr);
  std::mutex mutex;
  std::condition_variable progress;
  std::vector<int> keys, answers;
  auto seenBoth = [&] { return std::min(keys.size(), answers.size()); };
  // Each reader collects the second byte of every report it gets.
  auto collect = [&](ReadHandle& handle, std::vector<int>& seen) {
    std::array<std::uint8_t, 16> buffer{};
    for (;;) {
      {
        std::lock_guard lock(mutex);
        if (seen.size() >= kEach) return;
      }
      if (!handle.StartRead(buffer.data(), 9) || handle.Wait(kLongWait) != WaitResult::IoCompletion) return;
      std::uint32_t count = 0;
      if (!handle.GetResult(&count) || count <= 1) continue;
      {
        std::lock_guard lock(mutex);
        seen.push_back(buffer[0] * 1000 + buffer[1]);
      }
      progress.notify_all();
    }
  };
  std::thread keyboardReader([&] { collect(*keyboard, keys); });
  std::thread configReader([&] { collect(*config, answers); });
  for (std::size_t i = 0; i < kEach; ++i) {
    {
      std::unique_lock lock(mutex);
      if (!progress.wait_for(lock, std::chrono::milliseconds(kLongWait), [&] { return seenBoth() + kAhead > i; })) {
        break;
      }
    }
    const auto n = static_cast<std::uint8_t>(i);
    node.SendInput({0x01, n, 0x00, 0x04, 0, 0, 0, 0, 0});
    node.SendInput({0x03, 0xE9, 0x00});
    node.SendInput({0x02, n, 0x00, 0x01, 0x06, 0, 0, 0});
  }
  keyboardReader.join();
  configReader.join();
  std::vector<int> expectedKeys, expectedAnswers;
  for (int i = 0; i < static_cast<int>(kEach); ++i) {
    expectedKeys.push_back(1000 + i);
    expectedAnswers.push_back(2000 + i);
  }
  EXPECT_EQ(keys, expectedKeys) << "every key report, once, in order";
  EXPECT_EQ(answers, expectedAnswers) << "every answer, once, in order";
}

TEST_F(LinuxReadHandle, AReadHandleGetsOnlyTheReportsThatArriveWhileItIsOpen) {
  auto& node = bed.Plug(FakePedal::Description());
  auto early = backend.OpenRead("/dev/hidraw0");
  ASSERT_NE(early, nullptr);
  node.SendInput({0x02, 0x81, 0x00, 1, 0, 0, 0, 0});
  auto late = backend.OpenRead("/dev/hidraw0");
  ASSERT_NE(late, nullptr);
  node.SendInput({0x02, 0x81, 0x01, 2, 0, 0, 0, 0});
  EXPECT_EQ(ReadOne(*early), (Report{0x02, 0x81, 0x00, 1, 0, 0, 0, 0}));
  EXPECT_EQ(ReadOne(*early), (Report{0x02, 0x81, 0x01, 2, 0, 0, 0, 0}));
  EXPECT_EQ(ReadOne(*late), (Report{0x02, 0x81, 0x01, 2, 0, 0, 0, 0}));
}

TEST_F(LinuxReadHandle, ReadHandleOfAMissingNodeFails) {
  int error = 0;
  EXPECT_EQ(backend.OpenRead("/dev/hidraw5", &error), nullptr);
  EXPECT_EQ(error, ENOENT);
}

}  // namespace
}  // namespace hid::platform::linux_::fakes
