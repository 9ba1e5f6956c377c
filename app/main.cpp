// Entry point: the main window, its creation handler, the message loop.
#include <QApplication>

#include "app/MainForm.h"
#include "app/PlatformChoice.h"

int main(int argc, char* argv[])
{
    app::PreferX11Platform();
    QApplication application(argc, argv);
    app::TMainForm mainform;
    mainform.RunFormCreate();
    mainform.show();
    return application.exec();
}
