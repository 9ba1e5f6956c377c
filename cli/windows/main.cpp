// varnok-pedal.exe: the pedal setup on the command line, over the Windows
// binding. Arguments are taken as the system gives them (UTF-16) and handed
// on in UTF-8; output is UTF-8 with plain line ends, byte for byte what the
// Linux program writes.
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// After windows.h:
#include <shellapi.h>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <iostream>
#include <string>
#include <vector>

#include "cli/ChosenLanguage.h"
#include "cli/CliCommands.h"
#include "cli/ExitCodes.h"
#include "cli/FileStreamBuf.h"
#include "cli/windows/ConsoleOutputCodePage.h"
#include "hid/platform/windows/Win32Error.h"
#include "hid/platform/windows/WindowsHidBackend.h"
#include "keys/layout/windows/WindowsLayout.h"

namespace {

std::string Utf8(const wchar_t* text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (n <= 1) return {};
  std::string out(static_cast<std::size_t>(n - 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
  return out;
}

std::vector<std::string> Arguments() {
  std::vector<std::string> args;
  int count = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
  if (argv == nullptr) return args;
  for (int i = 1; i < count; ++i) args.push_back(Utf8(argv[i]));
  LocalFree(argv);
  return args;
}

// A keyboard layout id such as "00000407": loaded, not activated.
std::optional<keys::KeyNaming> WindowsNaming(const std::string& id) {
  if (id.size() != KL_NAMELENGTH - 1 || id.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
    return std::nullopt;
  std::wstring wide(id.begin(), id.end());
  const HKL layout = LoadKeyboardLayoutW(wide.c_str(), KLF_NOTELLSHELL);
  // For an id it does not have, the system answers with another layout.
  const auto language = static_cast<std::uintptr_t>(std::stoul(id.substr(4), nullptr, 16));
  if (layout == nullptr || (reinterpret_cast<std::uintptr_t>(layout) & 0xFFFF) != language) return std::nullopt;
  return keys::KeyNaming(keys::WindowsLayout(layout));
}

}  // namespace

int main() {
  const cli::windows::ConsoleOutputCodePage utf8;
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  std::vector<std::string> args = Arguments();
  const cli::ChosenLanguage language(args);
  if (!language.Error().empty()) {
    std::cerr << "error: " << language.Error() << "\n";
    return cli::kExitUsage;
  }
  cli::PlatformTexts texts;
  texts.libraries = "setupapi.dll, hid.dll";
  texts.accessFix =
      cli::translate("varnok-pedal", "close any other program that has the pedal open, then unplug and replug the pedal");
  texts.systemErrorText = [](std::uint32_t code) {
    const std::string text = hid::platform::windows::Win32SystemText(code);
    return text.empty() ? text
                        : cli::Fill(cli::translate("varnok-pedal", "%1 (Win32 error %2)"), {text, std::to_string(code)});
  };
  hid::platform::windows::WindowsHidBackend backend;
  cli::FileStreamBuf stdoutBuf(stdout);
  std::ostream out(&stdoutBuf);
  return cli::RunCli(args, backend, out, std::cerr, texts, WindowsNaming);
}
