#include "cli/CliOptions.h"

#include <charconv>

#include "cli/Messages.h"

namespace cli {

namespace {

bool ParseInt(const std::string& text, int low, int high, int& out) {
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < low || value > high) return false;
  out = value;
  return true;
}

bool TakesValue(const std::string& option) {
  return option == "--serial" || option == "--path" || option == "--file" || option == "--timeout" ||
         option == "--count" || option == "--pedal";
}

// -h or --help where an option may stand: not as an option's value, not
// after "--".
bool AsksForHelp(const std::vector<std::string>& args) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--") return false;
    if (a == "--help" || a == "-h") return true;
    if (TakesValue(a)) ++i;
  }
  return false;
}

OptionsResult Fail(const std::string& message) {
  OptionsResult r;
  r.error = message;
  return r;
}

bool Allowed(const std::string& command, const std::string& option) {
  if (option == "--serial" || option == "--path") return command != "watch";
  if (option == "--timeout") return true;
  if (option == "--count") return command == "read" || command == "export" || command == "watch";
  if (option == "--json") return command == "read";
  if (option == "--pedal" || option == "--verify") return command == "write";
  if (option == "--file") return command == "write" || command == "export";
  if (option == "--layout") return command == "read" || command == "write";
  return false;
}

}  // namespace

OptionsResult ParseOptions(const std::vector<std::string>& args) {
  OptionsResult r;
  CliOptions& o = r.options;
  o.help = AsksForHelp(args);
  if (args.empty()) return Fail(translate("varnok-pedal", "no command given (try --help)"));
  if (o.help || args[0] == "help") {
    o.command = "help";
    r.ok = true;
    return r;
  }
  o.command = args[0];
  if (o.command != "list" && o.command != "read" && o.command != "write" && o.command != "export" &&
      o.command != "watch") {
    return Fail(Fill(
        translate("varnok-pedal", "unknown command \"%1\" (commands: list, read, write, export, watch; try --help)"),
        {o.command}));
  }
  if (o.command == "watch") o.count = 1;
  bool endOfOptions = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    std::string arg = args[i];
    if (endOfOptions || arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
      if (o.command != "write") return Fail(Fill(translate("varnok-pedal", "unexpected argument \"%1\""), {arg}));
      if (o.keys)
        return Fail(
            translate("varnok-pedal", "more than one key combination given (quote names with blanks: \"Page Up\")"));
      o.keys = arg;
      continue;
    }
    if (arg == "--") {
      endOfOptions = true;
      continue;
    }
    std::optional<std::string> inlineValue;
    if (const auto eq = arg.find('='); eq != std::string::npos) {
      inlineValue = arg.substr(eq + 1);
      arg.resize(eq);
    }
    if (!Allowed(o.command, arg))
      return Fail(Fill(translate("varnok-pedal", "option %1 is not known to \"%2\" (try --help)"), {arg, o.command}));
    const bool flag = arg == "--json" || arg == "--verify";
    if (flag) {
      if (inlineValue) return Fail(Fill(translate("varnok-pedal", "option %1 takes no value"), {arg}));
      (arg == "--json" ? o.json : o.verify) = true;
      continue;
    }
    std::string value;
    if (inlineValue) {
      value = *inlineValue;
    } else {
      if (i + 1 >= args.size()) return Fail(Fill(translate("varnok-pedal", "option %1 needs a value"), {arg}));
      value = args[++i];
    }
    if (arg == "--serial") {
      o.serial = value;
    } else if (arg == "--path") {
      o.path = value;
    } else if (arg == "--layout") {
      if (value.empty()) return Fail(translate("varnok-pedal", "--layout needs a layout name, e.g. \"de\""));
      o.layout = value;
    } else if (arg == "--file") {
      if (value.empty()) return Fail(translate("varnok-pedal", "--file needs a file name"));
      o.file = value;
    } else if (arg == "--timeout") {
      if (!ParseInt(value, 1, 600000, o.timeoutMs))
        return Fail(translate("varnok-pedal", "--timeout must be a number of milliseconds, 1 to 600000"));
      o.timeoutGiven = true;
    } else if (arg == "--count") {
      const int high = o.command == "watch" ? 100 : 3;
      if (!ParseInt(value, 1, high, o.count))
        return Fail(Fill(translate("varnok-pedal", "--count must be a number from 1 to %1"), {std::to_string(high)}));
      o.countGiven = true;
    } else if (arg == "--pedal") {
      if (!ParseInt(value, 1, 3, o.pedal))
        return Fail(translate("varnok-pedal", "--pedal must be 1, 2 or 3 (pedal numbers start at 1)"));
    }
  }
  if (o.serial && o.path) return Fail(translate("varnok-pedal", "give --serial or --path, not both"));
  if (o.command == "write") {
    if (o.file) {
      if (o.pedal != 0 || o.keys)
        return Fail(translate("varnok-pedal", "write --file takes no --pedal and no key combination"));
    } else {
      if (o.pedal == 0)
        return Fail(translate("varnok-pedal", "write needs --pedal N (1 to 3) and a key combination, or --file"));
      if (!o.keys)
        return Fail(translate("varnok-pedal",
                              "write needs a key combination, e.g. \"Ctrl+Shift+A\" (\"none\" clears the pedal)"));
    }
  }
  if (o.command == "watch" && !o.timeoutGiven) o.timeoutMs = 60000;
  r.ok = true;
  return r;
}

LanguageOption TakeLanguageOption(std::vector<std::string>& args) {
  LanguageOption result;
  for (std::size_t i = 0; i < args.size();) {
    const std::string& a = args[i];
    if (a == "--") break;
    if (TakesValue(a)) {  // the value of --file may be "--lang"
      i += 2;
      continue;
    }
    if (a != "--lang" && a.rfind("--lang=", 0) != 0) {
      ++i;
      continue;
    }
    std::size_t taken = 1;
    std::string value;
    if (a == "--lang") {
      if (i + 1 < args.size()) value = args[i + 1];
      taken = i + 1 < args.size() ? 2 : 1;
    } else {
      value = a.substr(7);
    }
    if (value.empty() || value.rfind("--", 0) == 0) {
      result.error = "--lang needs a language, e.g. \"de\", \"zh_CN\" or \"C\" for English";
      return result;
    }
    result.language = value;
    args.erase(args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(i + taken));
  }
  return result;
}

std::string HelpText() {
  return translate("varnok-pedal", R"HELP(varnok-pedal - set up the three-pedal USB foot switch from the command line

Usage:
  varnok-pedal list [--serial S | --path P] [--timeout MS]
  varnok-pedal read [--serial S | --path P] [--count N] [--json] [--layout NAME] [--timeout MS]
  varnok-pedal write [--serial S | --path P] --pedal N "KEYS" [--layout NAME] [--verify] [--timeout MS]
  varnok-pedal write [--serial S | --path P] --file PROFILE.json [--verify] [--timeout MS]
  varnok-pedal export [--serial S | --path P] [--count N] [--file F] [--timeout MS]
  varnok-pedal watch [--count N] [--timeout MS]
  varnok-pedal --help
  (every command also takes --lang L)

Commands:
  list    the pedals found: path, serial, product, firmware version (or
          "unknown" when the pedal does not answer in time) and whether this
          user may open it
  read    every pedal's assignment by name and as bytes (modifier byte, then
          three key codes, e.g. "Ctrl+Shift+A (03-04-00-00)")
  write   gives one pedal a key combination, or all pedals of a profile file;
          "done" is printed only when every report was written completely
  export  writes a profile file from the device (to stdout without --file):
          {"pedals":[{"pedal":1,"keys":"Ctrl+C","bytes":"01-06-00-00"},...]}
  watch   debugging aid: prints "arrived <path>" / "removed <path>" each time
          the device-change monitor and a rescan see a pedal come or go, until
          N such events (default 1) or the timeout (default 60000 ms)

Options:
  --serial S    choose the pedal with this serial number
  --path P      choose the pedal with this device path (as "list" shows it)
  --count N     read/export: pedals 1..N (1 to 3, default 3)
  --pedal N     the pedal to write; pedal numbers start at 1 (pedal 1 is the
                first pedal, index 0 on the device)
  --json        read: machine-readable output
  --verify      write: read the pedals back and compare (a key slot
                holding 00 or FF is "no key" either way)
  --file F      write: the profile to write; export: the file to create
                or replace (atomically; a symbolic link is followed);
                "-" is the standard input (write) or output (export)
  --timeout MS  how long to wait for the pedal's answers (default 2000)
  --layout NAME read/write: name the keys as the keyboard layout NAME labels
                them (an xkb layout name such as "de" or "fr"; on Windows a
                layout id such as "00000407"); the bytes stay the same
  --lang L      the language of the messages: "de", "zh_CN", or "C" for
                English (default: the system's; VARNOK_LANG=L does the same)

Key combinations: key names exactly as in the key table, case-sensitive,
joined by "+": "Ctrl+Shift+A", "Alt+F4", "Page Up", "Right Ctrl+Num +".
Modifiers (Ctrl, Shift, Alt, Left Windows, Right Ctrl, Right Shift, Right Alt,
Right Windows) fold into the modifier byte; at most three other keys.
An empty text or "none" clears the pedal. A code without a name is written
by its number: "Key 0x68". The names are the key table's (a US keyboard's)
whatever the machine's layout, so a script means the same keys everywhere;
with --layout the layout's names are accepted as well, and take precedence.
Profile files and read --json always use the key table's names.

Without --serial or --path the one pedal present is used; with several
present, choose one.

Exit codes:
  0  ok
  1  usage error
  2  no pedal found (or none with the given serial / path), the device
     library could not be loaded, the pedal went away during the command,
     or (watch) the system gives no device-change notifications
  3  several pedals found and none chosen (they are listed)
  4  access refused: run "sudo scripts/install-udev-rule" or install the
     program's package, then unplug and replug the pedal
  5  no answer within the timeout (watch: no event within the timeout)
  6  bad key name or bad profile file
  7  a write failed (the pedal and the reason are named; also when the
     export file or the standard output cannot be written)
  8  --verify found the pedal holding something else than was written
)HELP");
}

}  // namespace cli
