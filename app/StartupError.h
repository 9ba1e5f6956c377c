// A start-up failure of the main window; what() carries the message text
// (UTF-8) that the error box shows.
#pragma once

#include <stdexcept>
#include <string>

namespace app {

class StartupError : public std::runtime_error {
public:
    explicit StartupError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace app
