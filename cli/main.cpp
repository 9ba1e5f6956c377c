// varnok-pedal: the pedal setup on the command line, over the Linux binding.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "cli/CliCommands.h"
#include "cli/FileStreamBuf.h"
#include "hid/platform/linux/LinuxHidBackend.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  hid::platform::linux_::LinuxHidBackend backend;
  cli::FileStreamBuf stdoutBuf(stdout);
  std::ostream out(&stdoutBuf);
  return cli::RunCli(args, backend, out, std::cerr);
}
