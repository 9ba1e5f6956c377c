// A stream buffer over a C file (the program's standard output) that keeps
// the reason of the first failed write: once a write failed, every later
// write and flush fails and sets errno to that reason again, so whoever
// checks the stream after its flush can name why ("No space left on device").
#pragma once

#include <array>
#include <cstdio>
#include <streambuf>

namespace cli {

class FileStreamBuf : public std::streambuf {
 public:
  explicit FileStreamBuf(std::FILE* file);
  ~FileStreamBuf() override;
  FileStreamBuf(const FileStreamBuf&) = delete;
  FileStreamBuf& operator=(const FileStreamBuf&) = delete;

  // errno of the first failed write; 0 while none failed.
  int Error() const { return error_; }

 protected:
  int_type overflow(int_type c) override;
  int sync() override;

 private:
  bool Drain();

  std::FILE* file_;
  std::array<char, 4096> buffer_{};
  int error_ = 0;
};

}  // namespace cli
