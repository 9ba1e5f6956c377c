// Replaces a file's contents so that readers see the old file or the new
// one, never a part: the text goes to a new file of a unique name in the
// target's folder, is synced to the disk, gets the target's permissions and
// is renamed over it. A symbolic link as the target is followed: the file it
// names is replaced, the link stays. A failure leaves the target untouched
// and no temporary file behind.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace files {

// False with the system's reason in `error` when the file could not be written.
bool WriteFileAtomically(const std::filesystem::path& target, std::string_view contents, std::string& error);

}  // namespace files
