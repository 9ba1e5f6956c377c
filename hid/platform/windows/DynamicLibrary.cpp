#include "hid/platform/windows/DynamicLibrary.h"

#include "hid/platform/windows/Win32Error.h"

namespace hid::platform::windows {

std::unique_ptr<DynamicLibrary> DynamicLibrary::Load(const std::string& name, std::string* error) {
  const bool bare = name.find_first_of("\\/:") == std::string::npos;
  const DWORD flags = bare ? LOAD_LIBRARY_SEARCH_SYSTEM32 : 0;
  HMODULE module = LoadLibraryExA(name.c_str(), nullptr, flags);
  if (module == nullptr) {
    if (error != nullptr) *error = Win32ErrorText("cannot load " + name, GetLastError());
    return nullptr;
  }
  return std::unique_ptr<DynamicLibrary>(new DynamicLibrary(module, name));
}

DynamicLibrary::~DynamicLibrary() { FreeLibrary(module_); }

}  // namespace hid::platform::windows
