#include "cli/FileStreamBuf.h"

#include <cerrno>

namespace cli {

FileStreamBuf::FileStreamBuf(std::FILE* file) : file_(file) { setp(buffer_.data(), buffer_.data() + buffer_.size()); }

FileStreamBuf::~FileStreamBuf() { Drain(); }

bool FileStreamBuf::Drain() {
  if (error_ == 0) {
    const auto size = static_cast<std::size_t>(pptr() - pbase());
    errno = 0;
    if ((size != 0 && std::fwrite(pbase(), 1, size, file_) != size) || std::fflush(file_) != 0) {
      error_ = errno != 0 ? errno : EIO;
    }
  }
  setp(buffer_.data(), buffer_.data() + buffer_.size());
  if (error_ != 0) errno = error_;
  return error_ == 0;
}

FileStreamBuf::int_type FileStreamBuf::overflow(int_type c) {
  if (!Drain()) return traits_type::eof();
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  *pptr() = traits_type::to_char_type(c);
  pbump(1);
  return c;
}

int FileStreamBuf::sync() { return Drain() ? 0 : -1; }

}  // namespace cli
