#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace cva {

// Bump storage for the values and tracks a display node is given after it is made (the
// properties instances add): the first kInlineBytes live inside the arena itself, the rest in
// heap blocks. Storage is given back only when the arena goes; the objects placed in it are
// destroyed by their owner.
class NodeArena {
 public:
  static constexpr size_t kInlineBytes = 768;

  NodeArena() = default;
  NodeArena(const NodeArena&) = delete;
  NodeArena& operator=(const NodeArena&) = delete;

  // Uninitialised storage of `size` bytes aligned to `align` (a power of two).
  void* Allocate(size_t size, size_t align);

  template <class T, class... Args>
  T* Make(Args&&... args) {
    return new (Allocate(sizeof(T), alignof(T))) T(std::forward<Args>(args)...);
  }

 private:
  // Heap blocks are at least this large, so a node that grows takes few of them.
  static constexpr size_t kBlockBytes = 1024;

  alignas(64) std::byte inline_[kInlineBytes];
  std::byte* next_ = inline_;
  std::byte* end_ = inline_ + kInlineBytes;
  std::vector<std::unique_ptr<std::byte[]>> blocks_;
};

}  // namespace cva
