// The read handle contract on the Windows binding's overlapped read handle.
#include "hid/platform/tests/ReadHandleContract.h"
#include "hid/platform/windows/tests/WindowsReadHandleFixture.h"

namespace hid::platform::windows::test {
namespace {

class ContractFixture : public contract::ReadHandleFixture {
 public:
  std::shared_ptr<ReadHandle> Open() override { return pedal_.Open(); }
  void Send(const std::vector<std::uint8_t>& report) override { pedal_.Send(report); }
  void Unplug() override { pedal_.Unplug(); }

 private:
  WindowsReadHandleFixture pedal_;
};

INSTANTIATE_READ_HANDLE_CONTRACT(WindowsOverlapped, [] { return std::make_unique<ContractFixture>(); });

}  // namespace
}  // namespace hid::platform::windows::test
