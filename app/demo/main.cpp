// The setup program's window on the virtual HID bus, with one simulated
// pedal plugged in: a way to try the program without the device. What the
// pedal receives, what the key box shows and the message boxes are logged on
// the standard output (DemoLog.h).
#include <QApplication>
#include <QLineEdit>

#include <memory>

#include "app/MainForm.h"
#include "app/MessageBoxSink.h"
#include "app/PlatformChoice.h"
#include "translations/Translations.h"
#include "app/demo/DemoLog.h"
#include "app/demo/SimulatedPedal.h"
#include "hid/platform/virtual/VirtualBus.h"

int main(int argc, char* argv[])
{
    app::ChooseQtPlatform();
    QApplication application(argc, argv);
    const i18n::ProgramTranslations translations;   // before any text is made
    hid::platform::virt::VirtualBus bus;   // outlives the pedal and the window
    app::demo::SimulatedPedal pedal(bus);
    pedal.SetReportObserver(&app::demo::LogReport);
    app::demo::LoggingMessageSink boxes(std::make_unique<app::MessageBoxSink>());
    app::TMainForm mainform(bus);
    mainform.SetMessageSink(&boxes);
    QObject::connect(mainform.RzEdit1, &QLineEdit::textChanged,
                     [](const QString& text) { app::demo::LogLine(QStringLiteral("key box: ") + text); });
    mainform.RunFormCreate();
    mainform.show();
    return application.exec();
}
