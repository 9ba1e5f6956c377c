// varnok-pedal: the pedal setup on the command line, over the Linux binding.
#include <iostream>
#include <string>
#include <vector>

#include "cli/CliCommands.h"
#include "hid/platform/linux/LinuxHidBackend.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  hid::platform::linux_::LinuxHidBackend backend;
  const int rc = cli::RunCli(args, backend, std::cout, std::cerr);
  std::cout.flush();
  return rc;
}
