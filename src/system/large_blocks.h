#pragma once

#include <cstddef>

namespace cva {

// Memory for pools of objects that a frame walks in order: blocks of kLargeBlockBytes,
// aligned to their size, that the system is asked to back with large pages where it can
// (fewer address translations when many objects are visited every frame). Null when the
// memory is not available.
inline constexpr size_t kLargeBlockBytes = size_t{2} << 20;

void* AllocateLargeBlock();
// Gives back a block from AllocateLargeBlock (null is ignored).
void FreeLargeBlock(void* block);

}  // namespace cva
