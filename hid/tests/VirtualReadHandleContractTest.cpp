// The read handle contract on the virtual bus.
#include "hid/platform/tests/ReadHandleContract.h"
#include "hid/platform/virtual/VirtualBus.h"

namespace hid::platform::virt {
namespace {

class VirtualReadHandleFixture : public contract::ReadHandleFixture {
 public:
  VirtualReadHandleFixture() {
    VirtualDeviceDescription desc;
    desc.vendorId = 0x16C0;
    desc.productId = 0x05E1;
    desc.inputLength = 8;
    desc.outputLength = 8;
    device_ = bus_.Plug(desc);
  }
  std::shared_ptr<ReadHandle> Open() override { return bus_.OpenRead(device_->Path()); }
  void Send(const std::vector<std::uint8_t>& report) override { device_->InjectInput(report); }
  void Unplug() override { bus_.Unplug(device_); }

 private:
  VirtualBus bus_;
  std::shared_ptr<VirtualDevice> device_;
};

INSTANTIATE_READ_HANDLE_CONTRACT(VirtualBus, [] { return std::make_unique<VirtualReadHandleFixture>(); });

}  // namespace
}  // namespace hid::platform::virt
