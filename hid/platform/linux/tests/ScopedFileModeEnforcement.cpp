#include "hid/platform/linux/tests/ScopedFileModeEnforcement.h"

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace hid::platform::linux_::fakes {

namespace {

constexpr unsigned kOverrides = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);

// The raw system calls act on the calling thread only.
bool SetOverrides(bool on, bool* wasOn) {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
  if (::syscall(SYS_capget, &header, data) != 0) return false;
  if (wasOn) *wasOn = (data[0].effective & kOverrides) != 0;
  data[0].effective = on ? (data[0].effective | (data[0].permitted & kOverrides)) : (data[0].effective & ~kOverrides);
  return ::syscall(SYS_capset, &header, data) == 0;
}

}  // namespace

ScopedFileModeEnforcement::ScopedFileModeEnforcement() {
  bool wasOn = false;
  if (SetOverrides(false, &wasOn)) changed_ = wasOn;
}

ScopedFileModeEnforcement::~ScopedFileModeEnforcement() {
  if (changed_) SetOverrides(true, nullptr);
}

}  // namespace hid::platform::linux_::fakes
