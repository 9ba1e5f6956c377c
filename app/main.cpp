// Entry point: the main window on the platform's HID binding, its creation
// handler, the message loop.
#include <QApplication>

#include <memory>

#include "app/MainForm.h"
#include "app/PlatformChoice.h"
#include "translations/Translations.h"
#include "app/PlatformHid.h"

int main(int argc, char* argv[])
{
    app::ChooseQtPlatform();
    QApplication application(argc, argv);
    const i18n::ProgramTranslations translations;   // before any text is made
    const std::unique_ptr<hid::platform::Backend> backend = app::MakePlatformHidBackend();   // outlives the window
    app::TMainForm mainform(*backend);
    mainform.RunFormCreate();
    mainform.show();
    return application.exec();
}
