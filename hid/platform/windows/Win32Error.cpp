#include "hid/platform/windows/Win32Error.h"

#include <cerrno>

namespace hid::platform::windows {

int ErrnoFromWin32(DWORD code) {
  switch (code) {
    case ERROR_SUCCESS:
      return 0;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
      return EACCES;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_BUSY:
    case ERROR_PIPE_BUSY:
      return EBUSY;
    // The device went away, or never was there: unplugged HID devices fail
    // with these, a pipe whose server left with the pipe ones. (Not
    // ERROR_GEN_FAILURE: a device that was reset or stalled fails with it
    // too, and may answer again.)
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_HANDLE:
    case ERROR_BAD_COMMAND:
    case ERROR_NOT_READY:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_DEVICE_REMOVED:
    case ERROR_BROKEN_PIPE:
    case ERROR_NO_DATA:
    case ERROR_PIPE_NOT_CONNECTED:
      return ENODEV;
    case ERROR_OPERATION_ABORTED:
      return ECANCELED;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
    case ERROR_NO_SYSTEM_RESOURCES:
      return ENOMEM;
    case ERROR_INVALID_PARAMETER:
    case ERROR_INVALID_USER_BUFFER:
    case ERROR_INSUFFICIENT_BUFFER:
    case ERROR_INVALID_FUNCTION:
      return EINVAL;
    case ERROR_SEM_TIMEOUT:
    case WAIT_TIMEOUT:
      return ETIMEDOUT;
    case ERROR_MOD_NOT_FOUND:
    case ERROR_PROC_NOT_FOUND:
      return ENOENT;
    default:
      return EIO;
  }
}

std::string Utf8FromWide(const wchar_t* text, std::size_t length) {
  if (length == 0) return {};
  const int wide = static_cast<int>(length);
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, wide, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return {};
  std::string out(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, wide, out.data(), bytes, nullptr, nullptr);
  return out;
}

std::string Win32ErrorText(const std::string& what, DWORD code) {
  std::string text = Win32SystemText(code);
  if (text.empty()) text = "unknown error";
  return what + ": " + text + " (error " + std::to_string(code) + ")";
}

std::string Win32SystemText(DWORD code) {
  wchar_t* message = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
      0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
  std::string text;
  if (length > 0 && message != nullptr) {
    std::size_t n = length;
    while (n > 0 && (message[n - 1] == L'\r' || message[n - 1] == L'\n' || message[n - 1] == L' ')) --n;
    text = Utf8FromWide(message, n);
  }
  if (message != nullptr) LocalFree(message);
  return text;
}

}  // namespace hid::platform::windows
