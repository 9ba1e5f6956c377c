// The console's output code page set to UTF-8 for as long as the object
// lives, and given back as it was: the console belongs to the shell that
// started the program and outlives it.
#pragma once

#include <windows.h>

namespace cli::windows {

class ConsoleOutputCodePage {
 public:
  ConsoleOutputCodePage() : previous_(GetConsoleOutputCP()) {
    if (previous_ != 0) SetConsoleOutputCP(CP_UTF8);  // 0: no console
  }
  ~ConsoleOutputCodePage() {
    if (previous_ != 0) SetConsoleOutputCP(previous_);
  }
  ConsoleOutputCodePage(const ConsoleOutputCodePage&) = delete;
  ConsoleOutputCodePage& operator=(const ConsoleOutputCodePage&) = delete;

 private:
  const UINT previous_;
};

}  // namespace cli::windows
