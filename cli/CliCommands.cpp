#include "cli/CliCommands.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "cli/CliOptions.h"
#include "cli/ExitCodes.h"
#include "cli/KeyCombination.h"
#include "cli/Messages.h"
#include "cli/PedalSession.h"
#include "cli/PrintableText.h"
#include "cli/Profile.h"
#include "cli/Utf8.h"
#include "files/AtomicFile.h"
#include "protocol/PedalAnswer.h"
#include "protocol/ReadBack.h"

namespace cli {

namespace {

using std::chrono::milliseconds;

std::string ErrnoText(int error) { return std::strerror(error != 0 ? error : EIO); }

// A message line on the standard error: "error: " and the text.
std::string Error(const std::string& message) { return Fill(translate("varnok-pedal", "error: %1"), {message}) + "\n"; }

// The firmware version for people, or (machine) in English for read --json.
std::string FirmwareText(const std::optional<Answer>& answer, bool machine = false) {
  const auto text = [machine](const char* source) { return machine ? source : translate("varnok-pedal", source); };
  if (!answer) return text(QT_TRANSLATE_NOOP("varnok-pedal", "unknown"));
  const std::string_view version = protocol::VersionText(answer->versionCode);
  if (!version.empty()) return std::string(version);
  return Fill(text(QT_TRANSLATE_NOOP("varnok-pedal", "unknown (version code %1)")),
              {std::to_string(answer->versionCode)});
}

std::string PedalLine(const PedalInfo& p) {
  return Fill(translate("varnok-pedal", "%1  serial %2  product \"%3\""),
              {PrintableText(p.path), p.serial.empty() ? translate("varnok-pedal", "(none)") : PrintableText(p.serial),
               PrintableText(p.product)});
}

// A pedal's assignment by name, "none" for no key.
std::string AssignmentText(const PedalBytes& bytes, const keys::KeyNaming& naming) {
  const std::string name = DisplayText(bytes, naming);
  return name.empty() ? translate("varnok-pedal", "none") : name;
}

// `--file -`: the standard input or output.
bool IsStandardStream(const std::optional<std::string>& file) { return file && *file == "-"; }

class Commands {
 public:
  Commands(const CliOptions& o, hid::platform::Backend& backend, std::istream& in, std::ostream& out,
           std::ostream& err, const PlatformTexts& texts, keys::KeyNaming naming)
      : o_(o), session_(backend), in_(in), out_(out), err_(err), texts_(texts), naming_(std::move(naming)) {}

  int Run() {
    if (o_.command == "list") return List();
    if (o_.command == "read") return Read();
    if (o_.command == "write") return Write();
    if (o_.command == "export") return Export();
    return Watch();
  }

 private:
  bool CheckLoaded() {
    if (session_.Loaded()) return true;
    err_ << Error(Fill(translate("varnok-pedal", "the device library (%1) could not be loaded; no pedals can be found"),
                       {texts_.libraries}));
    return false;
  }

  // The pedals present that --serial / --path choose (all without them);
  // empty, with the reason written, when none.
  std::vector<PedalInfo> Matching() {
    const std::vector<PedalInfo> all = session_.Pedals();
    std::vector<PedalInfo> matching;
    for (const PedalInfo& p : all) {
      if ((o_.serial && p.serial != *o_.serial) || (o_.path && p.path != *o_.path)) continue;
      matching.push_back(p);
    }
    if (!matching.empty()) return matching;
    if (all.empty()) {
      err_ << Error(translate("varnok-pedal", "no pedal found (is it plugged in?)"));
    } else {
      err_ << Error(o_.serial ? Fill(translate("varnok-pedal", "no pedal with serial \"%1\"; pedals found:"),
                                     {PrintableText(*o_.serial)})
                              : Fill(translate("varnok-pedal", "no pedal with path \"%1\"; pedals found:"),
                                     {PrintableText(*o_.path)}));
      for (const PedalInfo& p : all) err_ << "  " << PedalLine(p) << "\n";
    }
    return matching;
  }

  // Finds the one pedal to work on and checks it out.
  int Select(PedalInfo& chosen) {
    if (!CheckLoaded()) return kExitNoPedal;
    const std::vector<PedalInfo> matching = Matching();
    if (matching.empty()) return kExitNoPedal;
    if (matching.size() > 1) {
      err_ << Error(Fill(translate("varnok-pedal", "%1 pedals found; choose one with --serial or --path:"),
                         {std::to_string(matching.size())}));
      for (const PedalInfo& p : matching) err_ << "  " << PedalLine(p) << "\n";
      return kExitSeveralPedals;
    }
    chosen = matching.front();
    if (!chosen.readWrite) {
      const std::string why = SystemText(chosen.refusedNative);
      err_ << Error(why.empty() ? Fill(translate("varnok-pedal", "access to %1 refused for this user: %2"),
                                       {PrintableText(chosen.path), texts_.accessFix})
                                : Fill(translate("varnok-pedal", "access to %1 refused for this user (%2): %3"),
                                       {PrintableText(chosen.path), why, texts_.accessFix}));
      return kExitAccessRefused;
    }
    if (!session_.Open(chosen)) return PedalWentAway(chosen);
    return kExitOk;
  }

  // The system's words for a platform error code; empty where there are none.
  std::string SystemText(std::uint32_t native) const {
    return native != 0 && texts_.systemErrorText ? texts_.systemErrorText(native) : std::string();
  }

  int PedalWentAway(const PedalInfo& pedal) {
    err_ << Error(
        Fill(translate("varnok-pedal", "the pedal at %1 went away (unplugged?)"), {PrintableText(pedal.path)}));
    return kExitNoPedal;
  }

  // Reads pedals 1..count: kExitOk, or (message written) kExitTimeout when
  // one did not answer, kExitNoPedal when the pedal went away.
  int ReadAll(const PedalInfo& pedal, int count, std::vector<ProfileEntry>& entries, std::optional<Answer>& first) {
    const auto answers = session_.ReadOut(count, milliseconds(o_.timeoutMs));
    if (session_.Gone()) {
      entries.clear();
      return PedalWentAway(pedal);
    }
    bool all = true;
    for (int i = 0; i < count; ++i) {
      const auto& a = answers[static_cast<std::size_t>(i)];
      if (!a) {
        err_ << Error(Fill(translate("varnok-pedal", "pedal %1 did not answer within %2 ms"),
                           {std::to_string(i + 1), std::to_string(o_.timeoutMs)}));
        all = false;
        if (session_.LastRequestError() != 0) {
          err_ << Fill(translate("varnok-pedal", "  (the read request could not be sent: %1)"),
                       {ErrnoText(session_.LastRequestError())})
               << "\n";
        }
        continue;
      }
      if (!first) first = a;
      entries.push_back(ProfileEntry{i + 1, a->bytes});
    }
    return all ? kExitOk : kExitTimeout;
  }

  int List() {
    if (!CheckLoaded()) return kExitNoPedal;
    const std::vector<PedalInfo> pedals = Matching();
    if (pedals.empty()) return kExitNoPedal;
    bool refused = false;
    for (const PedalInfo& p : pedals) {
      std::optional<Answer> answer;
      if (p.readWrite && session_.Open(p)) {
        answer = session_.ReadOut(1, milliseconds(o_.timeoutMs))[0];
        session_.Close();
      }
      refused = refused || !p.readWrite;
      out_ << Fill(translate("varnok-pedal", "%1  firmware %2  access %3"),
                   {PedalLine(p), FirmwareText(answer),
                    p.readWrite ? translate("varnok-pedal", "read-write") : translate("varnok-pedal", "refused")})
           << "\n";
    }
    if (refused) {
      err_ << Fill(translate("varnok-pedal", "note: to use a pedal whose access is refused, %1"), {texts_.accessFix})
           << "\n";
    }
    return kExitOk;
  }

  int Read() {
    PedalInfo pedal;
    if (const int rc = Select(pedal); rc != kExitOk) return rc;
    std::vector<ProfileEntry> entries;
    std::optional<Answer> first;
    const int rc = ReadAll(pedal, o_.count, entries, first);
    if (rc == kExitNoPedal) return rc;
    if (o_.json) {
      out_ << "{\n  \"path\": " << JsonQuote(pedal.path) << ",\n  \"serial\": " << JsonQuote(pedal.serial)
           << ",\n  \"product\": " << JsonQuote(pedal.product)
           << ",\n  \"firmware\": " << JsonQuote(FirmwareText(first, true))
           << ",\n  \"pedals\": " << PedalsArrayJson(entries) << "\n}\n";
    } else {
      for (const ProfileEntry& e : entries) {
        out_ << Fill(translate("varnok-pedal", "pedal %1: %2 (%3)"),
                     {std::to_string(e.pedal), AssignmentText(e.bytes, naming_), BytesText(e.bytes)})
             << "\n";
      }
    }
    return rc;
  }

  // The profile of write --file: the file's text, or the standard input's.
  bool ReadProfileText(std::string& text) {
    if (IsStandardStream(o_.file)) {
      text.assign(std::istreambuf_iterator<char>(in_), std::istreambuf_iterator<char>());
      if (!in_.bad()) return true;
      err_ << Error(
          Fill(translate("varnok-pedal", "cannot read the profile from the standard input: %1"), {ErrnoText(errno)}));
      return false;
    }
    std::ifstream in(PathFromUtf8(*o_.file), std::ios::binary);
    if (!in) {
      err_ << Error(Fill(translate("varnok-pedal", "cannot read profile %1: %2"), {*o_.file, ErrnoText(errno)}));
      return false;
    }
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
  }

  int Write() {
    std::vector<ProfileEntry> entries;
    if (o_.file) {
      std::string text;
      if (!ReadProfileText(text)) return kExitBadKeys;
      const ProfileParseResult profile = ParseProfile(text);
      if (!profile.ok) {
        err_ << Error(Fill(translate("varnok-pedal", "bad profile %1: %2"), {*o_.file, PrintableText(profile.error)}));
        return kExitBadKeys;
      }
      entries = profile.entries;
    } else {
      const KeyParseResult keys = ParseKeyCombination(*o_.keys, naming_);
      if (!keys.ok) {
        err_ << Error(keys.error);
        return kExitBadKeys;
      }
      entries.push_back(ProfileEntry{o_.pedal, keys.bytes});
    }
    PedalInfo pedal;
    if (const int rc = Select(pedal); rc != kExitOk) return rc;
    for (const ProfileEntry& e : entries) {
      const WriteOutcome w = session_.Write(e.pedal - 1, e.bytes);
      if (!w.ok) {
        const std::string system = SystemText(w.nativeError);
        err_ << Error(
            Fill(translate("varnok-pedal", "pedal %1: write failed: %2 (%3 of 8 bytes written)"),
                 {std::to_string(e.pedal), system.empty() ? ErrnoText(w.error) : system, std::to_string(w.written)}));
        if (w.error == EACCES || w.error == EPERM) {
          err_ << Fill(translate("varnok-pedal", "to grant access, %1"), {texts_.accessFix}) << "\n";
          return kExitAccessRefused;
        }
        return kExitWriteFailed;
      }
      out_ << Fill(translate("varnok-pedal", "pedal %1: wrote %2 (%3)"),
                   {std::to_string(e.pedal), AssignmentText(e.bytes, naming_), BytesText(e.bytes)})
           << "\n";
    }
    out_ << translate("varnok-pedal", "done") << "\n";
    if (!o_.verify) return kExitOk;
    int highest = 0;
    for (const ProfileEntry& e : entries) highest = std::max(highest, e.pedal);
    const auto answers = session_.ReadOut(highest, milliseconds(o_.timeoutMs));
    if (session_.Gone()) return PedalWentAway(pedal);
    int rc = kExitOk;
    for (const ProfileEntry& e : entries) {
      const auto& a = answers[static_cast<std::size_t>(e.pedal - 1)];
      if (!a) {
        err_ << Error(Fill(translate("varnok-pedal", "verify: pedal %1 did not answer within %2 ms"),
                           {std::to_string(e.pedal), std::to_string(o_.timeoutMs)}));
        if (rc == kExitOk) rc = kExitTimeout;
      } else if (!protocol::HoldsWritten(e.bytes, a->bytes)) {
        err_ << Error(Fill(translate("varnok-pedal", "verify: pedal %1 holds %2, written was %3"),
                           {std::to_string(e.pedal), BytesText(a->bytes), BytesText(e.bytes)}));
        rc = kExitVerifyMismatch;
      }
    }
    if (rc == kExitOk) out_ << translate("varnok-pedal", "verified") << "\n";
    return rc;
  }

  int Export() {
    PedalInfo pedal;
    if (const int rc = Select(pedal); rc != kExitOk) return rc;
    std::vector<ProfileEntry> entries;
    std::optional<Answer> first;
    if (const int rc = ReadAll(pedal, o_.count, entries, first); rc != kExitOk) return rc;
    const std::string text = ProfileJson(entries, pedal.serial);
    if (!o_.file || IsStandardStream(o_.file)) {
      out_ << text;
      return kExitOk;
    }
    std::string error;
    if (!files::WriteFileAtomically(PathFromUtf8(*o_.file), text, error)) {
      err_ << Error(Fill(translate("varnok-pedal", "cannot write %1: %2"), {*o_.file, error}));
      return kExitWriteFailed;
    }
    out_ << Fill(translate("varnok-pedal", "exported %1 pedal(s) to %2"), {std::to_string(entries.size()), *o_.file})
         << "\n";
    return kExitOk;
  }

  int Watch() {
    if (!CheckLoaded()) return kExitNoPedal;
    if (!session_.HasMonitor()) {
      err_ << Error(translate("varnok-pedal", "no device-change notifications can be had on this system"));
      return kExitNoPedal;
    }
    const int seen = session_.Watch(
        o_.count, milliseconds(o_.timeoutMs),
        [this](const std::string& line) { out_ << PrintableText(line) << std::endl; },
        [this] { out_ << "watching" << std::endl; });
    if (seen >= o_.count) return kExitOk;
    err_ << Error(Fill(translate("varnok-pedal", "%1 of %2 pedal event(s) seen within %3 ms"),
                       {std::to_string(seen), std::to_string(o_.count), std::to_string(o_.timeoutMs)}));
    return kExitTimeout;
  }

  const CliOptions& o_;
  PedalSession session_;
  std::istream& in_;
  std::ostream& out_;
  std::ostream& err_;
  const PlatformTexts& texts_;
  const keys::KeyNaming naming_;
};

// The output is checked once flushed: a script that redirects it to a full
// disk must not take an empty backup for a good one. The buffer is synced
// even when the stream failed before, so it can name the reason in errno.
int Finish(int rc, std::ostream& out, std::ostream& err) {
  errno = 0;
  const bool synced = out.rdbuf() == nullptr || out.rdbuf()->pubsync() == 0;
  if (synced && out) return rc;
  out.setstate(std::ios::badbit);
  err << Error(Fill(translate("varnok-pedal", "cannot write the output: %1"), {ErrnoText(errno)}));
  return kExitWriteFailed;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, hid::platform::Backend& backend, std::ostream& out,
           std::ostream& err, const PlatformTexts& texts, const LayoutLookup& layouts, std::istream& in) {
  const OptionsResult parsed = ParseOptions(args);
  if (!parsed.ok) {
    err << Error(parsed.error);
    return kExitUsage;
  }
  if (parsed.options.command == "help") {
    out << HelpText();
    return Finish(kExitOk, out, err);
  }
  keys::KeyNaming naming;
  naming.SetLanguage(MessageLanguage());
  if (parsed.options.layout) {
    std::optional<keys::KeyNaming> named = layouts ? layouts(*parsed.options.layout) : std::nullopt;
    if (!named) {
      err << Error(Fill(translate("varnok-pedal", "no keyboard layout \"%1\" here"), {*parsed.options.layout}));
      return kExitUsage;
    }
    naming = std::move(*named);
  }
  Commands commands(parsed.options, backend, in, out, err, texts, std::move(naming));
  return Finish(commands.Run(), out, err);
}

}  // namespace cli
