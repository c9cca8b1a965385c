#pragma once

#include <cstddef>

namespace cva {

// Storage for scene nodes. A frame walks every node of a tree in the order the tree was
// built, so the nodes are handed out one after another from large blocks (see
// system/large_blocks.h): neighbours in the walk are neighbours in memory, and a whole tree
// needs few address translations. A block is given back when the last node in it goes
// (except the block being filled). Safe to use from several threads.
class NodePool {
 public:
  // Objects larger than this come from the ordinary heap.
  static constexpr size_t kMaxObjectBytes = 64 * 1024;
  // Alignments up to this are served from the blocks.
  static constexpr size_t kMaxAlignment = 4096;

  // `bytes` of storage aligned to `alignment` (a power of two); throws std::bad_alloc when no
  // memory is left.
  static void* Allocate(size_t bytes, size_t alignment);
  // Gives back storage from Allocate with the same size and alignment.
  static void Free(void* storage, size_t bytes, size_t alignment);

  // Blocks held at the moment (for tests).
  static size_t BlocksInUse();
};

}  // namespace cva
