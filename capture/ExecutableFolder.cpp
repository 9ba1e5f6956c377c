#include "capture/ExecutableFolder.h"

#include <filesystem>
#include <system_error>

namespace capture {

std::string ExecutableFolder() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::canonical("/proc/self/exe", ec);
    if (ec) return {};
    return exe.parent_path().string();
}

std::string TemporaryFolder() {
    std::error_code ec;
    const std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
    return ec ? std::string() : temp.string();
}

}  // namespace capture
