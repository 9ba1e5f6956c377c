// Exit codes of varnok-pedal (also listed by --help).
#pragma once

namespace cli {

enum ExitCode : int {
  kExitOk = 0,
  kExitUsage = 1,
  kExitNoPedal = 2,
  kExitSeveralPedals = 3,
  kExitAccessRefused = 4,
  kExitTimeout = 5,
  kExitBadKeys = 6,
  kExitWriteFailed = 7,
  kExitVerifyMismatch = 8,
};

}  // namespace cli
