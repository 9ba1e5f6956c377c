#include "WineSession.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <thread>

extern char** environ;

namespace wine_hidstack {

namespace {

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

WineSession::WineSession(std::string wineRun, std::string prefix, std::string workDir)
    : wineRun_(std::move(wineRun)), prefix_(std::move(prefix)), workDir_(std::move(workDir)) {}

void WineSession::IgnoreHangup() { ::signal(SIGHUP, SIG_IGN); }

namespace {

int Spawn(const std::string& wineRun, const std::string& prefix, const std::vector<std::string>& args,
          const std::string& outFile, const std::string& errFile) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);

  std::vector<std::string> env;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    if (std::string(*entry).rfind("VARNOK_WINEPREFIX=", 0) != 0) env.emplace_back(*entry);
  }
  env.push_back("VARNOK_WINEPREFIX=" + prefix);
  std::vector<std::string> argv{wineRun};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> argp, envp;
  for (auto& a : argv) argp.push_back(a.data());
  argp.push_back(nullptr);
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);

  pid_t pid = -1;
  const int error = posix_spawn(&pid, argp[0], &actions, nullptr, argp.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  return error == 0 ? pid : -1;
}

}  // namespace

RunResult WineSession::Run(const std::vector<std::string>& args, std::chrono::seconds timeout) const {
  const std::string outFile = workDir_ + "/out", errFile = workDir_ + "/err";
  RunResult result;
  const int pid = Spawn(wineRun_, prefix_, args, outFile, errFile);
  if (pid < 0) {
    result.err = "cannot start " + wineRun_;
    return result;
  }
  result.exitCode = WaitForEnd(pid, timeout);
  result.out = Slurp(outFile);
  result.err = Slurp(errFile);
  return result;
}

int WineSession::Start(const std::vector<std::string>& args, const std::string& log) const {
  return Spawn(wineRun_, prefix_, args, log, log + ".err");
}

int WineSession::WaitForEnd(int pid, std::chrono::seconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  int status = 0;
  for (;;) {
    if (::waitpid(pid, &status, WNOHANG) == pid) break;
    if (std::chrono::steady_clock::now() >= deadline) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void WineSession::Stop() const { Run({"--stop"}, std::chrono::seconds(120)); }

}  // namespace wine_hidstack
