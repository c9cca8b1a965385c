#include <sys/mman.h>

#include <cstdlib>

#include "system/large_blocks.h"

namespace cva {

void* AllocateLargeBlock() {
  void* block = std::aligned_alloc(kLargeBlockBytes, kLargeBlockBytes);
#if defined(MADV_HUGEPAGE)
  // Only advice: without large pages the block works the same.
  if (block) madvise(block, kLargeBlockBytes, MADV_HUGEPAGE);
#endif
  return block;
}

void FreeLargeBlock(void* block) {
  std::free(block);
}

}  // namespace cva
