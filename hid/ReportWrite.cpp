#include "hid/ReportWrite.h"

namespace hid {

bool ReportWriteComplete(bool succeeded, std::uint32_t written, std::uint32_t length) {
  if (!succeeded || written == 0) return false;
  return written >= length || (length >= 2 && written == length - 1);
}

}  // namespace hid
