// Reads the program's window id from its shared memory block.
#pragma once

#include <cstdint>
#include <string>

namespace hookmod {

// This user's block for this display (PosixHookBlockName.h). The caller keeps
// the name: nothing here outlives an unload of the library.
std::string HookWindowBlockName();

// The 32-bit id stored at the start of the block; 0 when the block is missing, shorter than 4 bytes,
// unreadable or owned by another user. Opened read-only and closed
// again on every call, so a block the program creates or rewrites later is
// picked up at the next key.
std::uint32_t ReadTargetWindowId(const std::string& blockName);

}  // namespace hookmod
