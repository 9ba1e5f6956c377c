// Makes file modes apply to the calling thread even when it runs as root, by
// taking CAP_DAC_OVERRIDE and CAP_DAC_READ_SEARCH out of the thread's
// effective capabilities; they come back when the object goes. Other threads
// (the testbed's worker among them) keep theirs.
#pragma once

namespace hid::platform::linux_::fakes {

class ScopedFileModeEnforcement {
 public:
  ScopedFileModeEnforcement();
  ~ScopedFileModeEnforcement();
  ScopedFileModeEnforcement(const ScopedFileModeEnforcement&) = delete;
  ScopedFileModeEnforcement& operator=(const ScopedFileModeEnforcement&) = delete;

 private:
  bool changed_ = false;
};

}  // namespace hid::platform::linux_::fakes
