#include "scene/node_arena.h"

#include <algorithm>
#include <cstdint>

namespace cva {

void* NodeArena::Allocate(size_t size, size_t align) {
  const auto pad = [align](std::byte* at) {
    return (align - reinterpret_cast<uintptr_t>(at) % align) % align;
  };
  if (static_cast<size_t>(end_ - next_) < pad(next_) + size) {
    // Room for the padding that the block's own alignment may need.
    const size_t bytes = std::max(size + align, kBlockBytes);
    blocks_.push_back(std::unique_ptr<std::byte[]>(new std::byte[bytes]));
    next_ = blocks_.back().get();
    end_ = next_ + bytes;
  }
  next_ += pad(next_);
  void* result = next_;
  next_ += size;
  return result;
}

}  // namespace cva
