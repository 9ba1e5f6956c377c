// console-code-page-probe.exe PROGRAM [ARGS...]: runs PROGRAM on this
// process's console, whose output code page is set to 437 first, and tells
// whether the program left it so. Exit 0: left as it was; 1: changed; 2: the
// test could not run.
#include <windows.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: console-code-page-probe PROGRAM [ARGS...]\n");
    return 2;
  }
  // A console of its own, whatever this process was started with.
  FreeConsole();
  if (!AllocConsole()) {
    std::fprintf(stderr, "no console: error %lu\n", GetLastError());
    return 2;
  }
  constexpr UINT kBefore = 437;
  if (!SetConsoleOutputCP(kBefore)) {
    std::fprintf(stderr, "SetConsoleOutputCP: error %lu\n", GetLastError());
    return 2;
  }
  std::wstring command;
  for (int i = 1; i < argc; ++i) command += (i > 1 ? L" \"" : L"\"") + std::wstring(argv[i]) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    std::fprintf(stderr, "CreateProcess: error %lu\n", GetLastError());
    return 2;
  }
  WaitForSingleObject(process.hProcess, 120000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  const UINT after = GetConsoleOutputCP();
  if (after != kBefore) {
    std::fprintf(stderr, "the console's output code page is %u after the program, was %u\n", after, kBefore);
    return 1;
  }
  return 0;
}
