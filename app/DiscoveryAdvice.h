// What the user is told when pedal discovery cannot run at all: the
// platform's device library could not be loaded.
#pragma once

#include <QString>

namespace app {

// The message, with the library and the package that brings it.
QString DiscoveryUnavailableText();

}  // namespace app
