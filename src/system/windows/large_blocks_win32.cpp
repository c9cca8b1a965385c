#include <malloc.h>

#include "system/large_blocks.h"

namespace cva {

// Large pages need a privilege that players do not have: plain aligned blocks.
void* AllocateLargeBlock() {
  return _aligned_malloc(kLargeBlockBytes, kLargeBlockBytes);
}

void FreeLargeBlock(void* block) {
  _aligned_free(block);
}

}  // namespace cva
