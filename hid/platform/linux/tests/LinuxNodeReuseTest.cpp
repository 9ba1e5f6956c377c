// A node number freed by an unplug and given to the next device: whatever
// was found at the node before must not reach the newcomer.
#include "hid/MainThreadQueue.h"
#include "hid/THidDeviceController.h"
#include "hid/platform/linux/tests/BackendTestbed.h"

namespace hid::platform::linux_::fakes {
namespace {

using LinuxNodeReuse = BackendTestbed;

TEST_F(LinuxNodeReuse, HandlesOfTheDeviceFoundAtANodeDoNotOpenOnItsSuccessor) {
  auto& pedal = bed.Plug(FakePedal::Description());
  ASSERT_EQ(Scan().size(), 1u);
  bed.Unplug(pedal);
  auto& keyboard = bed.PlugReusingNode(Keyboard(), pedal);
  ASSERT_EQ(keyboard.devnode(), "/dev/hidraw0");

  // Before the next scan the node counts as the pedal's, which is gone.
  int error = 0;
  EXPECT_EQ(backend.Open("/dev/hidraw0", true, &error), nullptr);
  EXPECT_EQ(error, ENODEV);
  EXPECT_EQ(backend.Open("/dev/hidraw0", false, &error), nullptr);
  EXPECT_EQ(error, ENODEV);
  EXPECT_EQ(backend.OpenRead("/dev/hidraw0", &error), nullptr);
  EXPECT_EQ(error, ENODEV);

  // The next scan finds the keyboard there.
  const auto entries = Scan();
  ASSERT_EQ(entries.size(), 1u);
  auto handle = backend.Open("/dev/hidraw0", true, &error);
  ASSERT_NE(handle, nullptr) << error;
  HIDD_ATTRIBUTES attributes;
  ASSERT_TRUE(handle->GetAttributes(attributes));
  EXPECT_EQ(attributes.ProductID, 0x0001);
  EXPECT_NE(backend.OpenRead("/dev/hidraw0"), nullptr);
}

TEST_F(LinuxNodeReuse, AWriteBeforeTheRescanDoesNotReachTheKeyboardThatGotThePedalsNode) {
  auto& pedal = bed.Plug(FakePedal::Description());
  FakePedal firmware(pedal);
  MainThreadQueue queue;
  THidDeviceController controller(backend, queue);
  ASSERT_TRUE(queue.ServeUntil([&] { return controller.Count() == 1; }, std::chrono::seconds(30)));
  THidDevice* device = nullptr;
  ASSERT_TRUE(controller.CheckOutAt(device, 0));
  std::unique_ptr<THidDevice> owned(device);
  const std::uint8_t request[8] = {0x02, 0x01, 0x00, 0, 0, 0, 0, 0};
  std::uint32_t written = 0;
  ASSERT_TRUE(device->WriteReport(request, 8, written));
  ASSERT_TRUE(pedal.WaitForWritten(1, std::chrono::seconds(30)));
  device->ProductText();  // a text query leaves the main handle closed

  // Unplugged, and a keyboard takes the node before the controller rescans.
  bed.Unplug(pedal);
  auto& keyboard = bed.PlugReusingNode(Keyboard(), pedal);
  EXPECT_FALSE(device->WriteReport(request, 8, written));
  EXPECT_EQ(device->LastWriteError(), ENODEV);
  EXPECT_TRUE(keyboard.Written().empty()) << "the pedal's report reached the keyboard";
}

}  // namespace
}  // namespace hid::platform::linux_::fakes
