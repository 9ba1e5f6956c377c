#include "files/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <process.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace files {

namespace {

namespace fs = std::filesystem;

// The file a chain of symbolic links ends at (the target itself when it is
// no link); at most 40 links, as the kernel allows.
fs::path FinalTarget(fs::path path) {
  for (int hops = 0; hops < 40; ++hops) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(path, ec))) break;
    const fs::path link = fs::read_symlink(path, ec);
    if (ec) break;
    path = link.is_absolute() ? link : path.parent_path() / link;
  }
  return path;
}

bool WriteAll(int fd, std::string_view contents) {
  while (!contents.empty()) {
#ifdef _WIN32
    const auto chunk = static_cast<unsigned>(std::min<std::size_t>(contents.size(), 1u << 20));
    const int n = ::_write(fd, contents.data(), chunk);
#else
    const ssize_t n = ::write(fd, contents.data(), contents.size());
#endif
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    contents.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

#ifdef _WIN32

int CreateUnique(const fs::path& folder, const fs::path& name, fs::path& temp) {
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path unique = ".";
    unique += name;
    for (const std::string& part : {std::to_string(_getpid()), std::to_string(++counter),
                                    std::to_string(GetTickCount64())}) {
      unique += ".";
      unique += part;
    }
    unique += ".tmp";
    temp = folder / unique;
    const int fd = ::_wopen(temp.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

bool Commit(int fd, const fs::path&) { return ::_commit(fd) == 0; }

bool Replace(const fs::path& temp, const fs::path& target, std::string& error) {
  if (MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
  error = std::system_category().message(static_cast<int>(GetLastError()));
  return false;
}

void SyncFolder(const fs::path&) {}  // MOVEFILE_WRITE_THROUGH did it

#else

int CreateUnique(const fs::path& folder, const fs::path& name, fs::path& temp) {
  fs::path unique = ".";
  unique += name;
  unique += ".XXXXXX";
  std::string pattern = (folder / unique).string();
  const int fd = ::mkstemp(pattern.data());
  temp = pattern;
  return fd;
}

// The target's permission bits, or those a new file gets under the umask.
bool Commit(int fd, const fs::path& target) {
  struct stat st {};
  mode_t mode = 0;
  if (::stat(target.c_str(), &st) == 0) {
    mode = st.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  return ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
}

bool Replace(const fs::path& temp, const fs::path& target, std::string& error) {
  if (::rename(temp.c_str(), target.c_str()) == 0) return true;
  error = std::strerror(errno);
  return false;
}

void SyncFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

#endif

int CloseFile(int fd) {
#ifdef _WIN32
  return ::_close(fd);
#else
  return ::close(fd);
#endif
}

}  // namespace

bool WriteFileAtomically(const fs::path& target, std::string_view contents, std::string& error) {
  const fs::path file = FinalTarget(target);
  const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
  fs::path temp;
  errno = 0;
  const int fd = CreateUnique(folder, file.filename(), temp);
  if (fd < 0) {
    error = std::strerror(errno != 0 ? errno : EIO);
    return false;
  }
  bool ok = WriteAll(fd, contents) && Commit(fd, file);
  const int writeErrno = errno;
  ok = CloseFile(fd) == 0 && ok;
  if (!ok) error = std::strerror(writeErrno != 0 ? writeErrno : (errno != 0 ? errno : EIO));
  if (ok && Replace(temp, file, error)) {
    SyncFolder(folder);
    return true;
  }
  std::error_code ignored;
  fs::remove(temp, ignored);
  return false;
}

}  // namespace files
