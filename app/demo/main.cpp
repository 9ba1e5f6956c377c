// The setup program's window on the virtual HID bus, with one simulated
// pedal plugged in: a way to try the program without the device.
#include <QApplication>

#include "app/MainForm.h"
#include "app/PlatformChoice.h"
#include "app/demo/SimulatedPedal.h"
#include "hid/platform/virtual/VirtualBus.h"

int main(int argc, char* argv[])
{
    app::PreferX11Platform();
    QApplication application(argc, argv);
    hid::platform::virt::VirtualBus bus;   // outlives the pedal and the window
    app::demo::SimulatedPedal pedal(bus);
    app::TMainForm mainform(bus);
    mainform.RunFormCreate();
    mainform.show();
    return application.exec();
}
