// The static Qt for Windows is built without Direct2D, and 6.4.2's Gui then
// leaves out its DirectWrite font database while the "windows" platform
// plugin still refers to its constructor. The plugin calls it only when the
// program is started with the platform option "fontengine=directwrite"
// (QT_QPA_PLATFORM=windows:fontengine=directwrite); the default, GDI font
// database is what the program uses. This definition lets the programs link
// and ends such a start with a clear message instead.
#include <QtGlobal>

// The mangled name of QWindowsDirectWriteFontDatabase's complete-object
// constructor, the one symbol the plugin misses.
extern "C" [[noreturn]] void _ZN31QWindowsDirectWriteFontDatabaseC1Ev(void*)
{
    qFatal("This program carries no DirectWrite font engine: start it without "
           "\"fontengine=directwrite\" (the default GDI font engine is used).");
}
