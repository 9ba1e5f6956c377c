// Entry point: the main window on the Linux HID binding, its creation
// handler, the message loop.
#include <QApplication>

#include "app/MainForm.h"
#include "app/PlatformChoice.h"
#include "hid/platform/linux/LinuxHidBackend.h"

int main(int argc, char* argv[])
{
    app::PreferX11Platform();
    QApplication application(argc, argv);
    hid::platform::linux_::LinuxHidBackend backend;   // outlives the window
    app::TMainForm mainform(backend);
    mainform.RunFormCreate();
    mainform.show();
    return application.exec();
}
