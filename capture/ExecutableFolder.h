// The folder of the running program, where its hook library lives, and the
// system's folder for temporary files.
#pragma once

#include <string>

namespace capture {

// Real path of the folder holding the running program, without a trailing
// separator (UTF-8); empty when it cannot be found. ExecutableFolder.cpp reads
// /proc/self/exe; windows/ExecutableFolderWindows.cpp asks the system.
std::string ExecutableFolder();

// The folder for temporary files, as the system names it (UTF-8, long names
// on Windows); empty when it cannot be found.
std::string TemporaryFolder();

}  // namespace capture
