// The folder of the running program, where its hook library lives.
#pragma once

#include <string>

namespace capture {

// Real path of the folder holding /proc/self/exe, without a trailing slash;
// empty when it cannot be found.
std::string ExecutableFolder();

}  // namespace capture
