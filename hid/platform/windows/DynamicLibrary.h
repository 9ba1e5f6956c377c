// A DLL loaded by name at run time, its entries bound by exact export name.
//
// A bare name ("hid.dll") is loaded from the system folder only: never from
// the program's own folder or the current one, where a planted copy could
// sit (the program is often started from a download folder). A name with a
// folder in it is loaded from there; tests load their stand-ins so.
#pragma once

#include <memory>
#include <string>

#include "hid/platform/windows/Win32.h"

namespace hid::platform::windows {

class DynamicLibrary {
 public:
  // nullptr when it cannot be loaded; *error then says why.
  static std::unique_ptr<DynamicLibrary> Load(const std::string& name, std::string* error);
  ~DynamicLibrary();
  DynamicLibrary(const DynamicLibrary&) = delete;
  DynamicLibrary& operator=(const DynamicLibrary&) = delete;

  // Binds the export `name` into `entry`; false (and *error set) when the
  // library has no such export.
  template <class Fn>
  bool Bind(const char* name, Fn& entry, std::string* error) const {
    entry = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    if (entry == nullptr && error != nullptr) *error = name_ + " has no entry " + name;
    return entry != nullptr;
  }

  const std::string& Name() const { return name_; }

 private:
  DynamicLibrary(HMODULE module, std::string name) : module_(module), name_(std::move(name)) {}

  HMODULE module_;
  std::string name_;
};

}  // namespace hid::platform::windows
