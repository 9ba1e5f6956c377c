// varnok-pedal-sim: a virtual foot switch on /dev/uhid, for trying the setup
// programs without the hardware. Needs write access to /dev/uhid (root).
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "uhidsim/UhidPedal.h"

namespace {

volatile sig_atomic_t g_stop = 0;
int g_wakeWrite = -1;

void OnSignal(int) {
  g_stop = 1;
  const char c = 0;
  if (g_wakeWrite >= 0) (void)!::write(g_wakeWrite, &c, 1);
}

void PrintHex(const char* label, const std::uint8_t* data, std::size_t size) {
  std::printf("%s", label);
  for (std::size_t i = 0; i < size; ++i) std::printf(" %02X", data[i]);
}

int Usage(const char* message) {
  if (message) std::fprintf(stderr, "error: %s\n", message);
  std::fprintf(message ? stderr : stdout,
               "Usage: varnok-pedal-sim [--serial S] [--product P] [--quiet] [--device PATH]\n"
               "A virtual foot switch (16C0:05E1) on /dev/uhid that answers like the real pedal:\n"
               "read requests get the stored assignment, write reports are stored. It starts\n"
               "with Ctrl+C, Ctrl+V and Enter. One line per report received (unless --quiet).\n"
               "Ends on SIGTERM or SIGINT, removing the device. Needs access to /dev/uhid.\n"
               "  --serial S    serial number (default VK0001)\n"
               "  --product P   product name (default \"Varnok foot switch\")\n"
               "  --quiet       no line per report\n"
               "  --device PATH the uhid device (default /dev/uhid)\n");
  return message ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  uhidsim::PedalIdentity identity;
  std::string device = "/dev/uhid";
  bool quiet = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") return Usage(nullptr);
    if (arg == "--quiet") {
      quiet = true;
    } else if (arg == "--serial" || arg == "--product" || arg == "--device") {
      if (i + 1 >= argc) return Usage((arg + " needs a value").c_str());
      std::string value = argv[++i];
      if (arg == "--device") {
        device = value;
      } else if (value.size() >= 64 && arg == "--serial") {
        return Usage("the serial number is limited to 63 bytes");
      } else {
        (arg == "--serial" ? identity.serial : identity.product) = value;
      }
    } else {
      return Usage(("unknown argument \"" + arg + "\"").c_str());
    }
  }
  if (identity.product.size() >= 128) return Usage("the product name is limited to 127 bytes");
  std::setvbuf(stdout, nullptr, _IOLBF, 0);

  int wake[2];
  if (::pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) {
    std::perror("pipe2");
    return 1;
  }
  g_wakeWrite = wake[1];
  struct sigaction sa {};
  sa.sa_handler = OnSignal;
  sigemptyset(&sa.sa_mask);
  ::sigaction(SIGTERM, &sa, nullptr);
  ::sigaction(SIGINT, &sa, nullptr);

  const int fd = ::open(device.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) {
    std::fprintf(stderr, "error: cannot open %s: %s%s\n", device.c_str(), std::strerror(errno),
                 errno == EACCES ? " (run as root)" : errno == ENOENT ? " (load the uhid module)" : "");
    return 1;
  }
  uhidsim::UhidPedal pedal(fd, identity);
  if (!quiet) {
    pedal.SetReportLog([](const std::vector<std::uint8_t>& report, const std::vector<sim::PedalFirmware::Report>& answers,
                          bool refused) {
      PrintHex("output", report.data(), report.size());
      if (refused) {
        std::printf("  (ignored: %zu bytes, not 8)", report.size());
      }
      for (const auto& a : answers) PrintHex("  -> input", a.data(), a.size());
      std::printf("\n");
    });
  }
  if (!pedal.Create()) {
    std::fprintf(stderr, "error: cannot create the device on %s: %s\n", device.c_str(), std::strerror(errno));
    ::close(fd);
    return 1;
  }
  std::printf("pedal %s ready\n", identity.serial.c_str());

  int rc = 0;
  while (!g_stop) {
    pollfd fds[2] = {{fd, POLLIN, 0}, {wake[0], POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      std::perror("poll");
      rc = 1;
      break;
    }
    if (fds[1].revents != 0) break;
    if ((fds[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0 && !pedal.HandleEvent()) {
      std::fprintf(stderr, "error: %s: %s\n", device.c_str(), std::strerror(errno));
      rc = 1;
      break;
    }
  }
  pedal.Destroy();
  ::close(fd);
  std::printf("pedal %s removed\n", identity.serial.c_str());
  return rc;
}
