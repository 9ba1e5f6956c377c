// varnok-pedal's commands end to end on the virtual bus, against the
// pedal's firmware model answering through the device's write hook.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <utility>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/CliCommands.h"
#include "cli/ExitCodes.h"
#include "cli/FileStreamBuf.h"
#include "cli/Messages.h"
#include "hid/platform/virtual/VirtualBus.h"
#include "keys/tests/GermanLetters.h"
#include "sim/PedalFirmware.h"

namespace cli {
namespace {

using hid::platform::virt::Access;
using hid::platform::virt::VirtualBus;
using hid::platform::virt::VirtualDevice;
using hid::platform::virt::VirtualDeviceDescription;

struct Pedal {
  std::shared_ptr<sim::PedalFirmware> firmware;
  std::shared_ptr<VirtualDevice> device;
};

struct CliRun {
  int rc = -1;
  std::string out;
  std::string err;
};

class CommandsTest : public ::testing::Test {
 protected:
  static VirtualDeviceDescription Description(const std::string& serial) {
    VirtualDeviceDescription desc;
    desc.vendorId = 0x16C0;
    desc.productId = 0x05E1;
    desc.version = 0x0100;
    desc.inputLength = 8;
    desc.outputLength = 8;
    desc.product = u"Varnok foot switch";
    desc.serial = std::u16string(serial.begin(), serial.end());
    return desc;
  }

  // What reaches the firmware of a pedal: `alter` may change a report
  // (id, command, pedal index, modifier byte, three key codes) or drop it
  // by returning false.
  using Alter = std::function<bool(std::vector<std::uint8_t>& report)>;

  // A pedal whose firmware answers on the device.
  Pedal Plug(const std::string& serial, VirtualDeviceDescription desc, Alter alter = nullptr) {
    Pedal pedal;
    pedal.firmware = std::make_shared<sim::PedalFirmware>(serial);
    pedal.device = bus.Plug(std::move(desc));
    std::weak_ptr<VirtualDevice> weak = pedal.device;
    auto firmware = pedal.firmware;
    pedal.device->SetWriteHook([weak, firmware, alter](const std::uint8_t* data, std::size_t length) {
      std::vector<std::uint8_t> report(data, data + length);
      if (alter && !alter(report)) return;
      const auto device = weak.lock();
      if (!device) return;
      for (const auto& answer : firmware->HandleOutputReport(report.data(), report.size())) {
        device->InjectInput(answer.data(), answer.size());
      }
    });
    return pedal;
  }
  Pedal Plug(const std::string& serial = "VK0001") { return Plug(serial, Description(serial)); }

  cli::PlatformTexts texts;  // those of Linux unless a test says otherwise

  CliRun Cli(std::vector<std::string> args, const std::string& input = "") {
    std::ostringstream out, err;
    std::istringstream in(input);
    CliRun r;
    r.rc = RunCli(args, bus, out, err, texts, [](const std::string& name) -> std::optional<keys::KeyNaming> {
      if (name != "de") return std::nullopt;
      return keys::KeyNaming(keys::testing::GermanLetters());
    }, in);
    r.out = out.str();
    r.err = err.str();
    return r;
  }

  static bool IsWriteCommand(const std::vector<std::uint8_t>& report) {
    return report.size() > 1 && report[1] == sim::PedalFirmware::kWriteCommand;
  }

  std::filesystem::path TempFile(const std::string& name) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("varnok-cli-test-" + std::to_string(::getpid()) + "-" + name);
    files_.push_back(path);
    return path;
  }

  void TearDown() override {
    std::error_code ignored;
    for (const auto& f : files_) std::filesystem::remove_all(f, ignored);
  }

  VirtualBus bus;
  std::vector<std::filesystem::path> files_;
};

using Slot = sim::PedalFirmware::Slot;

// Output of a watch: runs `action` once the watch says it is watching.
struct OnWatching : std::stringbuf {
  std::function<void()> action;
  int sync() override {
    if (action && str().find("watching") != std::string::npos) std::exchange(action, nullptr)();
    return 0;
  }
};

TEST_F(CommandsTest, HelpAndUsageErrors) {
  CliRun r = Cli({"--help"});
  EXPECT_EQ(r.rc, kExitOk);
  EXPECT_NE(r.out.find("Exit codes"), std::string::npos);
  r = Cli({});
  EXPECT_EQ(r.rc, kExitUsage);
  EXPECT_NE(r.err.find("no command"), std::string::npos);
  r = Cli({"read", "--count", "9"});
  EXPECT_EQ(r.rc, kExitUsage);
  EXPECT_NE(r.err.find("--count"), std::string::npos);
}

TEST_F(CommandsTest, ListShowsPedalsOnlyWithVersionAndAccess) {
  const Pedal a = Plug("VK0001");
  VirtualDeviceDescription keyboard = Description("KB1");
  keyboard.vendorId = 0x046D;
  bus.Plug(keyboard);
  VirtualDeviceDescription wrongLength = Description("LEN9");
  wrongLength.outputLength = 9;
  bus.Plug(wrongLength);
  const Pedal silent = Plug("VK0002");
  silent.firmware->SetOptions({.silent = true});
  VirtualDeviceDescription locked = Description("VK0003");
  locked.access = Access::ReadWriteRefused;
  Plug("VK0003", locked);

  const CliRun r = Cli({"list", "--timeout", "300"});
  EXPECT_EQ(r.rc, kExitOk) << r.err;
  std::istringstream lines(r.out);
  std::vector<std::string> rows;
  for (std::string line; std::getline(lines, line);) rows.push_back(line);
  ASSERT_EQ(rows.size(), 3u) << r.out;
  EXPECT_EQ(rows[0], a.device->Path() + "  serial VK0001  product \"Varnok foot switch\"  firmware V1.0.0  access read-write");
  EXPECT_NE(rows[1].find("serial VK0002"), std::string::npos);
  EXPECT_NE(rows[1].find("firmware unknown  access read-write"), std::string::npos);
  EXPECT_NE(rows[2].find("serial VK0003"), std::string::npos);
  EXPECT_NE(rows[2].find("firmware unknown  access refused"), std::string::npos);
  EXPECT_NE(r.err.find("sudo scripts/install-udev-rule"), std::string::npos);
}

TEST_F(CommandsTest, NoPedalAnywhere) {
  VirtualDeviceDescription keyboard = Description("KB1");
  keyboard.productId = 0x0001;
  bus.Plug(keyboard);
  for (const char* command : {"list", "read", "export"}) {
    const CliRun r = Cli({command});
    EXPECT_EQ(r.rc, kExitNoPedal) << command;
    EXPECT_NE(r.err.find("no pedal found"), std::string::npos) << command;
  }
  EXPECT_EQ(Cli({"write", "--pedal", "1", "A"}).rc, kExitNoPedal);
}

TEST_F(CommandsTest, ReadShowsNamesAndBytes) {
  Plug();
  CliRun r = Cli({"read"});
  EXPECT_EQ(r.rc, kExitOk) << r.err;
  EXPECT_EQ(r.out, "pedal 1: Ctrl+C (01-06-00-00)\npedal 2: Ctrl+V (01-19-00-00)\npedal 3: Enter (00-28-00-00)\n");

  r = Cli({"read", "--count", "1"});
  EXPECT_EQ(r.out, "pedal 1: Ctrl+C (01-06-00-00)\n");
}

// Table names by default whatever the layout; --layout names the keys as
// that keyboard does, and the bytes are the same either way. Codes without a
// name and cleared pedals read out as texts "write" takes.
TEST_F(CommandsTest, LayoutNamesOnlyWithLayoutAndReadOutsParseBack) {
  const Pedal p = Plug();
  p.firmware->SetSlot(1, {0x01, 0x68, 0, 0});
  p.firmware->SetSlot(2, {0, 0, 0, 0});
  CliRun r = Cli({"write", "--pedal", "1", "Ctrl+Z", "--layout", "de"});
  ASSERT_EQ(r.rc, kExitOk) << r.err;
  EXPECT_EQ(r.out, "pedal 1: wrote Ctrl+Z (01-1C-00-00)\ndone\n");
  EXPECT_EQ(Cli({"read"}).out,
            "pedal 1: Ctrl+Y (01-1C-00-00)\npedal 2: Ctrl+Key 0x68 (01-68-00-00)\npedal 3: none (00-00-00-00)\n");
  EXPECT_EQ(Cli({"read", "--count", "1", "--layout=de"}).out, "pedal 1: Ctrl+Z (01-1C-00-00)\n");

  r = Cli({"write", "--pedal", "3", "Ctrl+Key 0x68"});
  ASSERT_EQ(r.rc, kExitOk) << r.err;
  EXPECT_EQ(p.firmware->GetSlot(2), (Slot{0x01, 0x68, 0, 0}));

  r = Cli({"read", "--layout", "xx"});
  EXPECT_EQ(r.rc, kExitUsage);
  EXPECT_EQ(r.err, "error: no keyboard layout \"xx\" here\n");
  EXPECT_EQ(Cli({"export", "--layout", "de"}).rc, kExitUsage);
}

// Every message goes through the translator, and the names of keys that
// type no character follow its language, as in the window; what scripts
// read (read --json, profiles) stays as it is.
TEST_F(CommandsTest, MessagesFollowTheTranslatorAndMachineOutputNever) {
  struct Translated {
    Translated() {
      SetMessageTranslator([](const char*, const char* source) { return "<" + std::string(source) + ">"; }, "de");
    }
    ~Translated() { SetMessageTranslator(nullptr, {}); }
  } translated;
  Plug();
  EXPECT_EQ(Cli({"write", "--pedal", "2", "Strg+Umschalt+Entf"}).out,
            "<pedal 2: wrote Strg+Umschalt+Entf (03-4C-00-00)>\n<done>\n");
  EXPECT_EQ(Cli({"read", "--count", "2"}).out,
            "<pedal 1: Strg+C (01-06-00-00)>\n<pedal 2: Strg+Umschalt+Entf (03-4C-00-00)>\n");
  EXPECT_EQ(Cli({"bogus"}).err, "<error: <unknown command \"bogus\" (commands: list, read, write, export, watch; "
                                "try --help)>>\n");
  EXPECT_EQ(Cli({"write", "--file", "-"}, "{\"pedals\": []}").err,
            "<error: <bad profile -: <line 1: <the \"pedals\" array is empty>>>>\n");
  const auto doc = nlohmann::json::parse(Cli({"read", "--json"}).out, nullptr, false);
  EXPECT_EQ(doc["pedals"][1].value("keys", "?"), "Ctrl+Shift+Delete");
  EXPECT_EQ(Cli({"export", "--count", "1"}).out.find("<"), std::string::npos);
}

TEST_F(CommandsTest, ReadJsonIsMachineReadable) {
  const Pedal p = Plug();
  p.firmware->SetSlot(1, {0x00, 49, 0, 0});  // the backslash key: escaped in JSON
  p.firmware->SetSlot(2, {0, 0, 0, 0});
  const CliRun r = Cli({"read", "--json"});
  ASSERT_EQ(r.rc, kExitOk) << r.err;
  const auto doc = nlohmann::json::parse(r.out, nullptr, false);
  ASSERT_FALSE(doc.is_discarded()) << r.out;
  EXPECT_EQ(doc.value("serial", ""), "VK0001");
  EXPECT_EQ(doc.value("path", ""), p.device->Path());
  EXPECT_EQ(doc.value("firmware", ""), "V1.0.0");
  const auto& pedals = doc["pedals"];
  ASSERT_EQ(pedals.size(), 3u);
  EXPECT_EQ(pedals[0].value("pedal", 0), 1);
  EXPECT_EQ(pedals[0].value("keys", "?"), "Ctrl+C");
  EXPECT_EQ(pedals[1].value("keys", "?"), "\\");
  EXPECT_EQ(pedals[2].value("keys", "?"), "");
  EXPECT_EQ(pedals[2].value("bytes", "?"), "00-00-00-00");
}

TEST_F(CommandsTest, WriteThenVerifyReadsBack) {
  const Pedal p = Plug();
  CliRun r = Cli({"write", "--pedal", "1", "Ctrl+Shift+A", "--verify"});
  EXPECT_EQ(r.rc, kExitOk) << r.err;
  EXPECT_EQ(r.out, "pedal 1: wrote Ctrl+Shift+A (03-04-00-00)\ndone\nverified\n");
  EXPECT_EQ(p.firmware->GetSlot(0), (Slot{0x03, 0x04, 0, 0}));
  EXPECT_EQ(p.firmware->WriteCount(), 1u);
  EXPECT_EQ(p.firmware->GetSlot(1), sim::PedalFirmware::DefaultSlot(1));

  r = Cli({"write", "--pedal", "3", "none"});
  EXPECT_EQ(r.rc, kExitOk) << r.err;
  EXPECT_EQ(p.firmware->GetSlot(2), (Slot{0, 0, 0, 0}));
  EXPECT_EQ(Cli({"read", "--count", "1"}).out, "pedal 1: Ctrl+Shift+A (03-04-00-00)\n");
}

TEST_F(CommandsTest, VerifyCatchesAPedalThatKeptItsOldAssignmentOrChangedAByte) {
  Plug("VK0001", Description("VK0001"), [](std::vector<std::uint8_t>& report) { return !IsWriteCommand(report); });
  CliRun r = Cli({"write", "--pedal", "2", "Alt+Tab", "--verify"});
  EXPECT_EQ(r.rc, kExitVerifyMismatch);
  EXPECT_NE(r.err.find("pedal 2 holds 01-19-00-00, written was 04-2B-00-00"), std::string::npos) << r.err;
  EXPECT_EQ(r.out.find("verified"), std::string::npos);

  Plug("VK0002", Description("VK0002"), [](std::vector<std::uint8_t>& report) {
    if (IsWriteCommand(report)) report[5] = 0x05;
    return true;
  });
  r = Cli({"write", "--serial", "VK0002", "--pedal", "1", "A", "--verify"});
  EXPECT_EQ(r.rc, kExitVerifyMismatch);
  EXPECT_NE(r.err.find("pedal 1 holds 00-04-05-00, written was 00-04-00-00"), std::string::npos) << r.err;
}

TEST_F(CommandsTest, VerifyTakesErasedKeySlotsAsNoKey) {
  // A pedal that stores empty key slots as 0xFF.
  const Pedal p = Plug("VK0001", Description("VK0001"), [](std::vector<std::uint8_t>& report) {
    if (IsWriteCommand(report)) {
      for (std::size_t i = 4; i < 7; ++i) report[i] = report[i] == 0 ? 0xFF : report[i];
    }
    return true;
  });
  const CliRun r = Cli({"write", "--pedal", "1", "Ctrl+C", "--verify"});
  EXPECT_EQ(r.rc, kExitOk) << r.err;
  EXPECT_EQ(r.out, "pedal 1: wrote Ctrl+C (01-06-00-00)\ndone\nverified\n");
  EXPECT_EQ(p.firmware->GetSlot(0), (Slot{0x01, 0x06, 0xFF, 0xFF}));
}

TEST_F(CommandsTest, ExportAndWriteFileRoundTrip) {
  const Pedal source = Plug("VK0001");
  source.firmware->SetSlot(0, {0x05, 0x3E, 0, 0});   // Ctrl+Alt+F5
  source.firmware->SetSlot(1, {0x00, 49, 0x57, 0});   // \ and Num +
  source.firmware->SetSlot(2, {0x80, 0xFF, 0, 0});    // a byte without a name survives too
  const auto file = TempFile("profile.json");
  CliRun r = Cli({"export", "--file", file.string()});
  ASSERT_EQ(r.rc, kExitOk) << r.err;

  const Pedal target = Plug("VK0002");
  r = Cli({"write", "--serial", "VK0002", "--file", file.string(), "--verify"});
  ASSERT_EQ(r.rc, kExitOk) << r.err;
  EXPECT_NE(r.out.find("done\nverified"), std::string::npos);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(target.firmware->GetSlot(i), source.firmware->GetSlot(i)) << i;
  EXPECT_EQ(source.firmware->WriteCount(), 0u);

  // Without --file the profile goes to stdout.
  r = Cli({"export", "--serial", "VK0001", "--count", "1"});
  EXPECT_EQ(r.out, "{\n  \"serial\": \"VK0001\",\n  \"pedals\": [\n    {\"pedal\":1,\"keys\":\"Ctrl+Alt+F5\",\"bytes\":\"05-3E-00-00\"}\n  ]\n}\n");
}

#ifndef _WIN32  // file modes and symbolic links as POSIX has them
TEST_F(CommandsTest, ExportReplacesTheFileAtomicallyThroughALink) {
  Plug();
  const auto folder = TempFile("export-folder");
  std::filesystem::create_directory(folder);
  const auto real = folder / "pedals.json";
  const auto link = folder / "link.json";
  std::ofstream(real) << "old";
  std::filesystem::permissions(real, std::filesystem::perms(0640));
  std::filesystem::create_symlink("pedals.json", link);
  std::ofstream(folder / "link.json.tmp") << "someone else's";
  std::ofstream(folder / "pedals.json.tmp") << "someone else's";

  const CliRun r = Cli({"export", "--file", link.string(), "--count", "1"});
  ASSERT_EQ(r.rc, kExitOk) << r.err;
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  std::ifstream in(real);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text, "{\n  \"serial\": \"VK0001\",\n  \"pedals\": [\n    {\"pedal\":1,\"keys\":\"Ctrl+C\",\"bytes\":\"01-06-00-00\"}\n  ]\n}\n");
  EXPECT_EQ(std::filesystem::status(real).permissions() & std::filesystem::perms::all, std::filesystem::perms(0640));
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"link.json", "link.json.tmp", "pedals.json", "pedals.json.tmp"}));
  for (const char* other : {"link.json.tmp", "pedals.json.tmp"}) {
    std::ifstream kept(folder / other);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(kept)), std::istreambuf_iterator<char>()), "someone else's");
  }
}
#endif

TEST_F(CommandsTest, FileDashIsTheStandardInputAndOutput) {
  const Pedal p = Plug();
  CliRun r = Cli({"write", "--file", "-"}, R"({"pedals":[{"pedal":2,"keys":"Shift+B"}]})");
  ASSERT_EQ(r.rc, kExitOk) << r.err;
  EXPECT_EQ(p.firmware->GetSlot(1), (Slot{0x02, 0x05, 0, 0}));
  r = Cli({"export", "--file", "-", "--count", "1"});
  ASSERT_EQ(r.rc, kExitOk) << r.err;
  EXPECT_EQ(r.out, "{\n  \"serial\": \"VK0001\",\n  \"pedals\": [\n    {\"pedal\":1,\"keys\":\"Ctrl+C\",\"bytes\":\"01-06-00-00\"}\n  ]\n}\n");
  EXPECT_FALSE(std::filesystem::exists("-"));
}

// An output that fails as a full disk does.
struct FullDisk : std::streambuf {
  int_type overflow(int_type) override {
    errno = ENOSPC;
    return traits_type::eof();
  }
  int sync() override {
    errno = ENOSPC;
    return -1;
  }
};

TEST_F(CommandsTest, AFailedOutputExitsSevenWithTheReason) {
  Plug();
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"--help"}, {"export"}, {"read", "--json"}, {"list"}}) {
    FullDisk full;
    std::ostream out(&full);
    std::ostringstream err;
    EXPECT_EQ(RunCli(args, bus, out, err), kExitWriteFailed) << args[0];
    EXPECT_NE(err.str().find("cannot write the output: No space left on device"), std::string::npos) << err.str();
  }
#ifdef __linux__
  std::FILE* devFull = std::fopen("/dev/full", "w");
  ASSERT_NE(devFull, nullptr);
  {
    FileStreamBuf buffer(devFull);
    std::ostream out(&buffer);
    std::ostringstream err;
    EXPECT_EQ(RunCli({"export"}, bus, out, err), kExitWriteFailed);
    EXPECT_NE(err.str().find("No space left on device"), std::string::npos) << err.str();
  }
  std::fclose(devFull);
#endif
}

TEST_F(CommandsTest, APedalUnpluggedDuringAReadStopsAtOnce) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> runs{
      {{"read", "--timeout", "60000"}, ""},
      {{"export", "--timeout", "60000"}, ""},
      {{"write", "--pedal", "2", "A", "--verify", "--timeout", "60000"}, "pedal 2: wrote A (00-04-00-00)\ndone\n"},
  };
  for (const auto& [args, out] : runs) {
    // The pedal goes away when asked for pedal 2.
    Pedal p;
    p = Plug("VK0001", Description("VK0001"), [this, &p](std::vector<std::uint8_t>& report) {
      if (IsWriteCommand(report) || report[2] != 1) return true;
      bus.Unplug(p.device);
      return false;
    });
    const CliRun r = Cli(args);
    EXPECT_EQ(r.rc, kExitNoPedal) << args[0] << ": " << r.err;
    EXPECT_NE(r.err.find("the pedal at " + p.device->Path() + " went away"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, out) << args[0];
  }
}

TEST_F(CommandsTest, ListHonoursTheSelectionAndEscapesDeviceStrings) {
  VirtualDeviceDescription hostile = Description("VK\x1b]0;owned\x07");
  hostile.product = u"Evil\x1b[2J\u009b pedal";
  Plug("VK\x1b]0;owned\x07", hostile);
  Plug("VK0002");
  CliRun r = Cli({"list", "--serial", "VK0002", "--timeout", "300"});
  EXPECT_EQ(r.rc, kExitOk) << r.err;
  EXPECT_EQ(r.out.find("Evil"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("serial VK0002"), std::string::npos) << r.out;

  r = Cli({"list", "--timeout", "300"});
  EXPECT_NE(r.out.find("serial VK\\x1B]0;owned\\x07  product \"Evil\\x1B[2J\\u009B pedal\""), std::string::npos)
      << r.out;
  EXPECT_EQ(r.out.find('\x1b'), std::string::npos);

  r = Cli({"list", "--path", "/nowhere"});
  EXPECT_EQ(r.rc, kExitNoPedal);
  EXPECT_NE(r.err.find("no pedal with path \"/nowhere\""), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find('\x1b'), std::string::npos);
}

TEST_F(CommandsTest, ExportToAnUnwritablePlaceFails) {
  Plug();
  const CliRun r = Cli({"export", "--file", "/nonexistent-dir/p.json"});
  EXPECT_EQ(r.rc, kExitWriteFailed);
  EXPECT_NE(r.err.find("cannot write /nonexistent-dir/p.json"), std::string::npos);
}

TEST_F(CommandsTest, BadKeysAndProfilesNeverReachThePedal) {
  const Pedal p = Plug();
  CliRun r = Cli({"write", "--pedal", "1", "ctrl+A"});
  EXPECT_EQ(r.rc, kExitBadKeys);
  EXPECT_NE(r.err.find("unknown key name \"ctrl\" (names are case-sensitive, e.g. \"Ctrl\")"), std::string::npos);
  r = Cli({"write", "--pedal", "1", "A+B+C+D"});
  EXPECT_EQ(r.rc, kExitBadKeys);
  EXPECT_NE(r.err.find("too many keys"), std::string::npos);

  const auto file = TempFile("bad.json");
  std::ofstream(file) << R"({"pedals":[{"pedal":1,"keys":"Ctrl+C"},{"pedal":2,"keys":"Shift+Nope"}]})";
  r = Cli({"write", "--file", file.string()});
  EXPECT_EQ(r.rc, kExitBadKeys);
  EXPECT_NE(r.err.find("pedal 2: unknown key name \"Nope\""), std::string::npos) << r.err;
  std::ofstream(file, std::ios::trunc) << R"({"pedals":[{"pedal":1,"keys":"Shift+\u001b[2J"}]})";
  r = Cli({"write", "--file", file.string()});
  EXPECT_EQ(r.rc, kExitBadKeys);
  EXPECT_NE(r.err.find("unknown key name \"\\x1B[2J\""), std::string::npos) << r.err;
  r = Cli({"write", "--file", TempFile("missing.json").string()});
  EXPECT_EQ(r.rc, kExitBadKeys);
  EXPECT_NE(r.err.find("cannot read profile"), std::string::npos);

  EXPECT_EQ(p.device->WriteCount(), 0u);
  EXPECT_EQ(p.firmware->GetSlot(0), sim::PedalFirmware::DefaultSlot(0));
}

TEST_F(CommandsTest, SeveralPedalsNeedASelection) {
  const Pedal first = Plug("VK0001");
  const Pedal second = Plug("VK0002");
  second.firmware->SetSlot(0, {0x02, 0x04, 0, 0});
  CliRun r = Cli({"read"});
  EXPECT_EQ(r.rc, kExitSeveralPedals);
  EXPECT_NE(r.err.find("serial VK0001"), std::string::npos);
  EXPECT_NE(r.err.find("serial VK0002"), std::string::npos);
  EXPECT_EQ(Cli({"write", "--pedal", "1", "A"}).rc, kExitSeveralPedals);

  r = Cli({"read", "--serial", "VK0002", "--count", "1"});
  EXPECT_EQ(r.rc, kExitOk) << r.err;
  EXPECT_EQ(r.out, "pedal 1: Shift+A (02-04-00-00)\n");
  r = Cli({"read", "--path", first.device->Path(), "--count", "1"});
  EXPECT_EQ(r.out, "pedal 1: Ctrl+C (01-06-00-00)\n");

  EXPECT_EQ(Cli({"write", "--serial", "VK0002", "--pedal", "3", "F9"}).rc, kExitOk);
  EXPECT_EQ(second.firmware->GetSlot(2), (Slot{0, 66, 0, 0}));
  EXPECT_EQ(first.firmware->WriteCount(), 0u);

  r = Cli({"read", "--serial", "VK0009"});
  EXPECT_EQ(r.rc, kExitNoPedal);
  EXPECT_NE(r.err.find("no pedal with serial \"VK0009\""), std::string::npos);
}

TEST_F(CommandsTest, AccessRefusedSaysHowToFixIt) {
  VirtualDeviceDescription locked = Description("VK0001");
  locked.access = Access::ReadWriteRefused;
  const Pedal p = Plug("VK0001", locked);
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"read"}, {"write", "--pedal", "1", "A"}, {"export"}}) {
    const CliRun r = Cli(args);
    EXPECT_EQ(r.rc, kExitAccessRefused) << args[0];
    EXPECT_NE(r.err.find("sudo scripts/install-udev-rule"), std::string::npos) << args[0];
    EXPECT_NE(r.err.find("replug"), std::string::npos) << args[0];
  }
  EXPECT_EQ(p.device->WriteCount(), 0u);
}

// Where the platform has error codes of its own (Win32), its words for them
// name a refused open and a failed write; errno's text where it has none.
TEST_F(CommandsTest, PlatformErrorsAreTheSystemsOwnWords) {
  texts.systemErrorText = [](std::uint32_t code) {
    return code == 32 ? std::string("The file is in use (Win32 error 32)") : std::string();
  };
  VirtualDeviceDescription locked = Description("VK0001");
  locked.access = Access::ReadWriteRefused;
  locked.refusedNative = 32;
  Pedal p = Plug("VK0001", locked);
  CliRun r = Cli({"read"});
  EXPECT_EQ(r.rc, kExitAccessRefused);
  EXPECT_NE(r.err.find("refused for this user (The file is in use (Win32 error 32)): "), std::string::npos) << r.err;
  bus.Unplug(p.device);

  p = Plug("VK0002");
  for (const auto& [native, said] : std::vector<std::pair<std::uint32_t, std::string>>{
           {32, "write failed: The file is in use (Win32 error 32) (0 of 8 bytes written)"},
           {31, "write failed: Input/output error (0 of 8 bytes written)"},  // no words for it
           {0, "write failed: Input/output error (0 of 8 bytes written)"}}) {
    p.device->SetWriteFailure({.nth = 0, .all = true, .error = EIO, .native = native});
    r = Cli({"write", "--pedal", "1", "A"});
    EXPECT_EQ(r.rc, kExitWriteFailed);
    EXPECT_NE(r.err.find(said), std::string::npos) << r.err;
  }
}

TEST_F(CommandsTest, SilentPedalTimesOut) {
  const Pedal p = Plug();
  p.firmware->SetOptions({.silent = true});
  CliRun r = Cli({"read", "--timeout", "300"});
  EXPECT_EQ(r.rc, kExitTimeout);
  EXPECT_NE(r.err.find("pedal 1 did not answer within 300 ms"), std::string::npos);
  EXPECT_EQ(r.out, "");
  r = Cli({"write", "--pedal", "1", "B", "--verify", "--timeout", "300"});
  EXPECT_EQ(r.rc, kExitTimeout);
  EXPECT_EQ(p.firmware->GetSlot(0), (Slot{0, 5, 0, 0}));
}

TEST_F(CommandsTest, UnsendableRequestsAreNamedInTheTimeout) {
  VirtualDeviceDescription desc = Description("VK0001");
  desc.writeFailure = {.nth = 0, .all = true, .error = EIO};
  Plug("VK0001", desc);
  const CliRun r = Cli({"read", "--count", "1", "--timeout", "200"});
  EXPECT_EQ(r.rc, kExitTimeout);
  EXPECT_NE(r.err.find("the read request could not be sent: Input/output error"), std::string::npos) << r.err;
}

TEST_F(CommandsTest, LostRequestsAreAskedAgain) {
  const Pedal p = Plug();
  p.firmware->SetOptions({.dropEveryNth = 2});
  const CliRun r = Cli({"read"});
  EXPECT_EQ(r.rc, kExitOk) << r.err;
  EXPECT_EQ(r.out, "pedal 1: Ctrl+C (01-06-00-00)\npedal 2: Ctrl+V (01-19-00-00)\npedal 3: Enter (00-28-00-00)\n");
}

TEST_F(CommandsTest, FailedWriteIsNeverReportedDone) {
  VirtualDeviceDescription desc = Description("VK0001");
  desc.writeFailure = {.nth = 2, .all = false, .error = EIO};
  const Pedal p = Plug("VK0001", desc);
  const auto file = TempFile("three.json");
  std::ofstream(file) << R"({"pedals":[{"pedal":1,"keys":"A"},{"pedal":2,"keys":"B"},{"pedal":3,"keys":"C"}]})";
  CliRun r = Cli({"write", "--file", file.string()});
  EXPECT_EQ(r.rc, kExitWriteFailed);
  EXPECT_NE(r.err.find("pedal 2: write failed: Input/output error"), std::string::npos) << r.err;
  EXPECT_EQ(r.out.find("done"), std::string::npos) << r.out;
  EXPECT_EQ(p.firmware->GetSlot(0), (Slot{0, 4, 0, 0}));
  EXPECT_EQ(p.firmware->GetSlot(2), sim::PedalFirmware::DefaultSlot(2));

  p.device->SetWriteFailure({.nth = 0, .all = true, .error = ENOSPC});
  r = Cli({"write", "--pedal", "1", "Z"});
  EXPECT_EQ(r.rc, kExitWriteFailed);
  EXPECT_NE(r.err.find("pedal 1: write failed: No space left on device (0 of 8 bytes written)"), std::string::npos)
      << r.err;
  EXPECT_EQ(r.out.find("done"), std::string::npos);
}

TEST_F(CommandsTest, WatchSeesAPedalLeave) {
  const Pedal p = Plug();
  bus.Plug(Description("OTHER"));  // a second pedal that stays
  std::ostringstream err;
  OnWatching buffer;
  buffer.action = [&] { bus.Unplug(p.device); };
  std::ostream watchOut(&buffer);
  const int rc = RunCli({"watch", "--count", "1", "--timeout", "5000"}, bus, watchOut, err);
  EXPECT_EQ(rc, kExitOk) << err.str();
  EXPECT_EQ(buffer.str(), "watching\nremoved " + p.device->Path() + "\n");

  const CliRun r = Cli({"watch", "--timeout", "100"});
  EXPECT_EQ(r.rc, kExitTimeout);
  EXPECT_EQ(r.out, "watching\n");
  EXPECT_NE(r.err.find("0 of 1"), std::string::npos);
}

TEST_F(CommandsTest, WatchWithoutADeviceMonitorIsNotATimeout) {
  bus.SetMonitorFails(true);
  const CliRun r = Cli({"watch", "--timeout", "100"});
  EXPECT_EQ(r.rc, kExitNoPedal);
  EXPECT_NE(r.err.find("no device-change notifications"), std::string::npos) << r.err;
}

TEST_F(CommandsTest, WatchSeesAPedalArriveButNotOtherDevices) {
  std::ostringstream err;
  std::string pedalPath;
  OnWatching buffer;
  buffer.action = [&] {
    VirtualDeviceDescription keyboard = Description("KB");
    keyboard.productId = 0x1234;
    bus.Plug(keyboard);  // not a pedal: not reported
    pedalPath = Plug("VK0007").device->Path();
  };
  std::ostream watchOut(&buffer);
  const int rc = RunCli({"watch", "--timeout", "5000"}, bus, watchOut, err);
  EXPECT_EQ(rc, kExitOk) << err.str();
  EXPECT_EQ(buffer.str(), "watching\narrived " + pedalPath + "\n");
}

}  // namespace
}  // namespace cli
