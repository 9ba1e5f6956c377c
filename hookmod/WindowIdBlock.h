// Reads the program's window id from its shared memory block.
#pragma once

#include <cstdint>

namespace hookmod {

// The 32-bit id stored at the start of the block; 0 when the block is
// missing, shorter than 4 bytes or unreadable. Opened read-only and closed
// again on every call, so a block the program creates or rewrites later is
// picked up at the next key.
std::uint32_t ReadTargetWindowId();

}  // namespace hookmod
