// The device layer and the command line over the Windows binding, against
// the fake pedal: found at the first scan, read and written through a reader
// thread, lost when a WM_DEVICECHANGE follows its unplugging.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/CliCommands.h"
#include "cli/ExitCodes.h"
#include "hid/MainThreadQueue.h"
#include "hid/THidDeviceController.h"
#include "hid/platform/windows/tests/FakeBusFixture.h"
// After windows.h:
#include <dbt.h>

namespace hid::platform::windows::test {
namespace {

class WholeStackTest : public FakeBusTest {
 protected:
  // Serves the controller's monitor and queue, as a host loop does, until `done`.
  bool Serve(THidDeviceController& controller, const std::function<bool()>& done) {
    return WaitFor([&] {
      controller.OnMonitorReadable();
      queue.ServePending();
      return done();
    });
  }

  struct Run {
    int rc;
    std::string out, err;
  };
  Run Cli(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int rc = cli::RunCli(args, backend, out, err);
    return Run{rc, out.str(), err.str()};
  }

  MainThreadQueue queue;
};

TEST_F(WholeStackTest, ControllerFindsReadsAndLosesThePedal) {
  const PluggedDevice pedal = Plug(PedalDevice());
  Plug(KeyboardDevice());
  std::vector<std::string> log;
  std::vector<std::vector<std::uint8_t>> reports;
  THidDeviceController controller(backend, queue);
  ASSERT_TRUE(controller.Loaded());
  EXPECT_TRUE(controller.HasMonitor());
  EXPECT_EQ(controller.MonitorFd(), -1);
  struct Events {
    std::vector<std::string>& log;
    std::vector<std::vector<std::uint8_t>>& reports;
    void Arrival(THidDevice* d) { log.push_back("arrival " + d->DevicePath()); }
    void Removal(THidDevice* d) { log.push_back("removal " + d->DevicePath()); }
    void Data(THidDevice*, std::uint8_t id, const std::uint8_t* data, std::uint16_t size) {
      std::vector<std::uint8_t> report{id};
      report.insert(report.end(), data, data + size);
      reports.push_back(report);
    }
  } events{log, reports};
  controller.SetOnArrival(MakeHandler(&events, &Events::Arrival));
  controller.SetOnRemoval(MakeHandler(&events, &Events::Removal));
  controller.SetOnDeviceData(MakeHandler(&events, &Events::Data));
  ASSERT_TRUE(Serve(controller, [&] { return log.size() == 2; }));
  EXPECT_EQ(log[0], "arrival " + pedal.path);
  ASSERT_EQ(controller.Count(), 2);
  EXPECT_FALSE(controller.At(1)->ReadWriteAccess());  // the keyboard

  THidDevice* device = nullptr;
  ASSERT_TRUE(controller.CheckOutAt(device, 0));
  EXPECT_TRUE(device->ReadWriteAccess());
  EXPECT_EQ(device->SerialText(), u"VK0001");
  const std::uint8_t request[8] = {0x02, 0x01, 0x01, 0, 0, 0, 0, 0};
  std::uint32_t written = 0;
  ASSERT_TRUE(device->WriteReport(request, sizeof request, written));
  ASSERT_TRUE(Serve(controller, [&] { return !reports.empty(); }));
  EXPECT_EQ(reports[0], (std::vector<std::uint8_t>{0x02, 0x81, 0x01, 0x01, 0x19, 0x00, 0x00, 0x00}));  // Ctrl+V

  // Unplugged, and the system says so to every top-level window.
  FakeHidBus_Unplug(pedal.id);
  PostMessageW(HWND_BROADCAST, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
  ASSERT_TRUE(Serve(controller, [&] { return log.size() >= 3; }));
  EXPECT_EQ(log[2], "removal " + pedal.path);
  EXPECT_FALSE(device->Present());
  delete device;  // stops its reader, which saw its read handle closed
  EXPECT_EQ(controller.Count(), 1);
}

TEST_F(WholeStackTest, TheCommandLineReadsWritesAndExportsThePedal) {
  const PluggedDevice pedal = Plug(PedalDevice());
  Run r = Cli({"read", "--json"});
  ASSERT_EQ(r.rc, cli::kExitOk) << r.err;
  const auto doc = nlohmann::json::parse(r.out, nullptr, false);
  ASSERT_FALSE(doc.is_discarded()) << r.out;
  EXPECT_EQ(doc.value("serial", ""), "VK0001");
  EXPECT_EQ(doc.value("path", ""), pedal.path);
  EXPECT_EQ(doc["pedals"][0].value("keys", ""), "Ctrl+C");

  r = Cli({"write", "--pedal", "2", "Ctrl+Shift+A", "--verify"});
  EXPECT_EQ(r.rc, cli::kExitOk) << r.err;
  EXPECT_EQ(r.out, "pedal 2: wrote Ctrl+Shift+A (03-04-00-00)\ndone\nverified\n");
  std::uint8_t slot[4] = {};
  ASSERT_TRUE(FakeHidBus_Slot(pedal.id, 1, slot));
  EXPECT_EQ(std::vector<std::uint8_t>(slot, slot + 4), (std::vector<std::uint8_t>{0x03, 0x04, 0x00, 0x00}));

  // Exported twice to the same file: the second replaces the first.
  const std::filesystem::path file =
      std::filesystem::path(TestFolder()) / ("varnok-export-" + std::to_string(GetCurrentProcessId()) + ".json");
  const std::string name = file.string();
  EXPECT_EQ(Cli({"export", "--file", name}).rc, cli::kExitOk);
  r = Cli({"export", "--file", name});
  EXPECT_EQ(r.rc, cli::kExitOk) << r.err;
  EXPECT_EQ(Cli({"write", "--file", name}).rc, cli::kExitOk);
  std::filesystem::remove(file);

  // A pedal this user may not open: the access advice, its own exit code.
  FakeHidBus_Unplug(pedal.id);
  auto locked = PedalDevice(L"VK0009");
  locked.readWriteRefused = 1;
  Plug(locked);
  r = Cli({"read"});
  EXPECT_EQ(r.rc, cli::kExitAccessRefused);
  EXPECT_NE(r.err.find("refused"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace hid::platform::windows::test
