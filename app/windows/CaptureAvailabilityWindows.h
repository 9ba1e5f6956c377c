// Capture on Windows: Hookmod.dll's low-level keyboard hook sees every key
// of the desktop and posts it to the window named in "Local\TestHook", which
// must be a real window of Qt's "windows" platform.
#pragma once

#include <QString>

namespace app {

// The reason for these facts; empty when capture can work.
QString CaptureUnavailableReason(bool hooksLoaded, const QString& platform);

}  // namespace app
