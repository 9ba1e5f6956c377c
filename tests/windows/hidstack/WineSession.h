// The Windows build's programs run under wine from a host test, through the
// build's wine-run, in a wine prefix of the test's own.
//
// Started inside a umockdev testbed, the first program starts a fresh wine
// server whose device services (winedevice.exe with winebus) inherit the
// testbed, and so see its fake hidraw nodes through wine's own setupapi, hid,
// hidclass and winebus. Stop() ends every wine process of the prefix; call it
// before the testbed goes, and before the testbed is made, so that no server
// started outside it is reused.
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace wine_hidstack {

struct RunResult {
  int exitCode = -1;  // -1: killed or did not end in time
  std::string out;
  std::string err;
};

class WineSession {
 public:
  WineSession(std::string wineRun, std::string prefix, std::string workDir);

  // A fake hidraw node is a PTY; winebus opens it without O_NOCTTY as a
  // session leader, so it becomes that process's terminal and its close at an
  // unplug would hang the process up. The wine processes inherit SIG_IGN.
  static void IgnoreHangup();

  RunResult Run(const std::vector<std::string>& args, std::chrono::seconds timeout) const;
  // Starts ARGS without waiting, its output to LOG; its pid, or -1.
  int Start(const std::vector<std::string>& args, const std::string& log) const;
  // Waits up to TIMEOUT for PID to end, then kills it; its exit code, or -1.
  static int WaitForEnd(int pid, std::chrono::seconds timeout);
  void Stop() const;

 private:
  std::string wineRun_;
  std::string prefix_;
  std::string workDir_;
};

}  // namespace wine_hidstack
