// The read handle contract on a fake hidraw pedal.
#include "hid/platform/linux/LinuxHidBackend.h"
#include "hid/platform/linux/tests/FakeHidTestbed.h"
#include "hid/platform/linux/tests/FakePedal.h"
#include "hid/platform/tests/ReadHandleContract.h"

namespace hid::platform::linux_::fakes {
namespace {

class LinuxReadHandleFixture : public contract::ReadHandleFixture {
 public:
  LinuxReadHandleFixture() : node_(bed_.Plug(FakePedal::Description())) {
    if (!backend_.Load()) ADD_FAILURE() << backend_.LoadErrorText();
  }
  ~LinuxReadHandleFixture() override { backend_.Release(); }
  std::shared_ptr<ReadHandle> Open() override { return backend_.OpenRead(node_.devnode()); }
  void Send(const std::vector<std::uint8_t>& report) override { node_.SendInput(report); }
  void Unplug() override { bed_.Unplug(node_); }

 private:
  FakeHidTestbed bed_;
  FakeHidDevice& node_;
  LinuxHidBackend backend_;
};

INSTANTIATE_READ_HANDLE_CONTRACT(Hidraw, [] { return std::make_unique<LinuxReadHandleFixture>(); });

}  // namespace
}  // namespace hid::platform::linux_::fakes
