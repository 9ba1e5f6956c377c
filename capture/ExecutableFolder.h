// The folder of the running program, where its hook library lives.
#pragma once

#include <string>

namespace capture {

// Real path of the folder holding the running program, without a trailing
// separator (UTF-8); empty when it cannot be found. ExecutableFolder.cpp reads
// /proc/self/exe; windows/ExecutableFolderWindows.cpp asks the system.
std::string ExecutableFolder();

}  // namespace capture
