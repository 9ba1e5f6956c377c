#include "cli/CliCommands.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "files/AtomicFile.h"
#include "cli/CliOptions.h"
#include "cli/ExitCodes.h"
#include "cli/KeyCombination.h"
#include "cli/PedalSession.h"
#include "cli/PrintableText.h"
#include "cli/Profile.h"
#include "cli/Utf8.h"
#include "protocol/PedalAnswer.h"
#include "protocol/ReadBack.h"

namespace cli {

namespace {

using std::chrono::milliseconds;

std::string ErrnoText(int error) { return std::strerror(error != 0 ? error : EIO); }

std::string FirmwareText(const std::optional<Answer>& answer) {
  if (!answer) return "unknown";
  const std::string_view text = protocol::VersionText(answer->versionCode);
  return text.empty() ? "unknown (version code " + std::to_string(answer->versionCode) + ")" : std::string(text);
}

std::string PedalLine(const PedalInfo& p) {
  return PrintableText(p.path) + "  serial " + (p.serial.empty() ? "(none)" : PrintableText(p.serial)) +
         "  product \"" + PrintableText(p.product) + "\"";
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
    err_ << "error: the device library (" << texts_.libraries << ") could not be loaded; no pedals can be found\n";
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
      err_ << "error: no pedal found (is it plugged in?)\n";
    } else {
      err_ << "error: no pedal with "
           << PrintableText(o_.serial ? "serial \"" + *o_.serial : "path \"" + *o_.path) << "\"; pedals found:\n";
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
      err_ << "error: " << matching.size() << " pedals found; choose one with --serial or --path:\n";
      for (const PedalInfo& p : matching) err_ << "  " << PedalLine(p) << "\n";
      return kExitSeveralPedals;
    }
    chosen = matching.front();
    if (!chosen.readWrite) {
      err_ << "error: access to " << PrintableText(chosen.path) << " refused for this user";
      if (const std::string why = SystemText(chosen.refusedNative); !why.empty()) err_ << " (" << why << ")";
      err_ << ": " << texts_.accessFix << "\n";
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
    err_ << "error: the pedal at " << PrintableText(pedal.path) << " went away (unplugged?)\n";
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
        err_ << "error: pedal " << i + 1 << " did not answer within " << o_.timeoutMs << " ms\n";
        all = false;
        if (session_.LastRequestError() != 0) {
          err_ << "  (the read request could not be sent: " << ErrnoText(session_.LastRequestError()) << ")\n";
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
      out_ << PedalLine(p) << "  firmware " << FirmwareText(answer) << "  access "
           << (p.readWrite ? "read-write" : "refused") << "\n";
    }
    if (refused) err_ << "note: to use a pedal whose access is refused, " << texts_.accessFix << "\n";
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
           << ",\n  \"product\": " << JsonQuote(pedal.product) << ",\n  \"firmware\": "
           << JsonQuote(FirmwareText(first)) << ",\n  \"pedals\": " << PedalsArrayJson(entries) << "\n}\n";
    } else {
      for (const ProfileEntry& e : entries) {
        const std::string name = DisplayText(e.bytes, naming_);
        out_ << "pedal " << e.pedal << ": " << (name.empty() ? "none" : name) << " (" << BytesText(e.bytes)
             << ")\n";
      }
    }
    return rc;
  }

  // The profile of write --file: the file's text, or the standard input's.
  bool ReadProfileText(std::string& text) {
    if (IsStandardStream(o_.file)) {
      text.assign(std::istreambuf_iterator<char>(in_), std::istreambuf_iterator<char>());
      if (!in_.bad()) return true;
      err_ << "error: cannot read the profile from the standard input: " << ErrnoText(errno) << "\n";
      return false;
    }
    std::ifstream in(PathFromUtf8(*o_.file), std::ios::binary);
    if (!in) {
      err_ << "error: cannot read profile " << *o_.file << ": " << ErrnoText(errno) << "\n";
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
        err_ << "error: bad profile " << *o_.file << ": " << PrintableText(profile.error) << "\n";
        return kExitBadKeys;
      }
      entries = profile.entries;
    } else {
      const KeyParseResult keys = ParseKeyCombination(*o_.keys, naming_);
      if (!keys.ok) {
        err_ << "error: " << keys.error << "\n";
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
        err_ << "error: pedal " << e.pedal << ": write failed: " << (system.empty() ? ErrnoText(w.error) : system)
             << " (" << w.written << " of 8 bytes written)\n";
        if (w.error == EACCES || w.error == EPERM) {
          err_ << "to grant access, " << texts_.accessFix << "\n";
          return kExitAccessRefused;
        }
        return kExitWriteFailed;
      }
      const std::string name = DisplayText(e.bytes, naming_);
      out_ << "pedal " << e.pedal << ": wrote " << (name.empty() ? "none" : name) << " (" << BytesText(e.bytes)
           << ")\n";
    }
    out_ << "done\n";
    if (!o_.verify) return kExitOk;
    int highest = 0;
    for (const ProfileEntry& e : entries) highest = std::max(highest, e.pedal);
    const auto answers = session_.ReadOut(highest, milliseconds(o_.timeoutMs));
    if (session_.Gone()) return PedalWentAway(pedal);
    int rc = kExitOk;
    for (const ProfileEntry& e : entries) {
      const auto& a = answers[static_cast<std::size_t>(e.pedal - 1)];
      if (!a) {
        err_ << "error: verify: pedal " << e.pedal << " did not answer within " << o_.timeoutMs << " ms\n";
        if (rc == kExitOk) rc = kExitTimeout;
      } else if (!protocol::HoldsWritten(e.bytes, a->bytes)) {
        err_ << "error: verify: pedal " << e.pedal << " holds " << BytesText(a->bytes) << ", written was "
             << BytesText(e.bytes) << "\n";
        rc = kExitVerifyMismatch;
      }
    }
    if (rc == kExitOk) out_ << "verified\n";
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
      err_ << "error: cannot write " << *o_.file << ": " << error << "\n";
      return kExitWriteFailed;
    }
    out_ << "exported " << entries.size() << " pedal(s) to " << *o_.file << "\n";
    return kExitOk;
  }

  int Watch() {
    if (!CheckLoaded()) return kExitNoPedal;
    if (!session_.HasMonitor()) {
      err_ << "error: no device-change notifications can be had on this system\n";
      return kExitNoPedal;
    }
    const int seen = session_.Watch(
        o_.count, milliseconds(o_.timeoutMs),
        [this](const std::string& line) { out_ << PrintableText(line) << std::endl; },
        [this] { out_ << "watching" << std::endl; });
    if (seen >= o_.count) return kExitOk;
    err_ << "error: " << seen << " of " << o_.count << " pedal event(s) seen within " << o_.timeoutMs << " ms\n";
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
  err << "error: cannot write the output: " << ErrnoText(errno) << "\n";
  return kExitWriteFailed;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, hid::platform::Backend& backend, std::ostream& out,
           std::ostream& err, const PlatformTexts& texts, const LayoutLookup& layouts, std::istream& in) {
  const OptionsResult parsed = ParseOptions(args);
  if (!parsed.ok) {
    err << "error: " << parsed.error << "\n";
    return kExitUsage;
  }
  if (parsed.options.command == "help") {
    out << HelpText();
    return Finish(kExitOk, out, err);
  }
  keys::KeyNaming naming;
  if (parsed.options.layout) {
    std::optional<keys::KeyNaming> named = layouts ? layouts(*parsed.options.layout) : std::nullopt;
    if (!named) {
      err << "error: no keyboard layout \"" << *parsed.options.layout << "\" here\n";
      return kExitUsage;
    }
    naming = std::move(*named);
  }
  Commands commands(parsed.options, backend, in, out, err, texts, std::move(naming));
  return Finish(commands.Run(), out, err);
}

}  // namespace cli
