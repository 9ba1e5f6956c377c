// Runs the hidraw binding tests, which need the umockdev preload library:
// without it (not started by umockdev-wrapper) they are skipped with 77.
//
// Two modes make the executable a child process of a test:
//   --child-write NODE HEX  opens NODE by path and writes the report HEX in
//                           one write(); exit status 0 when it was taken.
//   --child-monitor         prints "ready" once its device monitor listens,
//                           then exits 0 as soon as a hidraw node is added
//                           or removed (1 when nothing comes within 30 s).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "hid/platform/linux/LinuxHidBackend.h"
#include "hid/platform/linux/tests/FakeHidTestbed.h"

namespace {

int ChildWrite(const char* node, const std::string& hex) {
  std::vector<unsigned char> report;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    report.push_back(static_cast<unsigned char>(std::stoul(hex.substr(i, 2), nullptr, 16)));
  }
  const int fd = ::open(node, O_RDWR | O_CLOEXEC);
  if (fd < 0) return 1;
  const ssize_t n = ::write(fd, report.data(), report.size());
  ::close(fd);
  return n == static_cast<ssize_t>(report.size()) ? 0 : 1;
}

int ChildMonitor() {
  hid::platform::linux_::LinuxHidBackend backend;
  if (!backend.Load()) return 2;
  auto monitor = backend.CreateMonitor();
  if (!monitor) return 3;
  std::puts("ready");
  std::fflush(stdout);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (std::chrono::steady_clock::now() < deadline) {
    pollfd p{monitor->fd(), POLLIN, 0};
    if (::poll(&p, 1, 1000) == 1 && monitor->Drain()) return 0;
  }
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--child-write") == 0) return ChildWrite(argv[2], argv[3]);
  if (argc == 2 && std::strcmp(argv[1], "--child-monitor") == 0) return ChildMonitor();
  if (!hid::platform::linux_::fakes::FakeHidTestbed::Available()) {
    std::puts("umockdev preload library not active (run under umockdev-wrapper): skipped");
    return 77;
  }
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
