#include "scene/node_pool.h"

#include <cstdint>
#include <mutex>
#include <new>

#include "system/large_blocks.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define CVA_POISON(address, bytes) __asan_poison_memory_region((address), (bytes))
#define CVA_UNPOISON(address, bytes) __asan_unpoison_memory_region((address), (bytes))
#else
#define CVA_POISON(address, bytes) ((void)(address), (void)(bytes))
#define CVA_UNPOISON(address, bytes) ((void)(address), (void)(bytes))
#endif

namespace cva {
namespace {

// The start of every block: how many objects in it are alive.
struct BlockHeader {
  size_t live = 0;
};
constexpr size_t kHeaderBytes = 64;
static_assert(sizeof(BlockHeader) <= kHeaderBytes);

bool Pooled(size_t bytes, size_t alignment) {
  return bytes <= NodePool::kMaxObjectBytes && alignment <= NodePool::kMaxAlignment;
}

class Pool {
 public:
  void* Allocate(size_t bytes, size_t alignment) {
    std::lock_guard<std::mutex> lock(mutex_);
    uintptr_t at = Align(next_, alignment);
    if (!current_ || at + bytes > End(current_)) {
      StartBlock();
      at = Align(next_, alignment);
    }
    next_ = at + bytes;
    ++Header(current_).live;
    void* storage = reinterpret_cast<void*>(at);
    CVA_UNPOISON(storage, bytes);
    return storage;
  }

  void Free(void* storage, size_t bytes) {
    std::lock_guard<std::mutex> lock(mutex_);
    CVA_POISON(storage, bytes);
    std::byte* block = BlockOf(storage);
    if (--Header(block).live == 0 && block != current_) Release(block);
  }

  size_t blocks() {
    std::lock_guard<std::mutex> lock(mutex_);
    return blocks_;
  }

 private:
  static uintptr_t Align(uintptr_t at, size_t alignment) {
    return (at + alignment - 1) & ~static_cast<uintptr_t>(alignment - 1);
  }
  static uintptr_t End(std::byte* block) {
    return reinterpret_cast<uintptr_t>(block) + kLargeBlockBytes;
  }
  static BlockHeader& Header(std::byte* block) { return *reinterpret_cast<BlockHeader*>(block); }
  static std::byte* BlockOf(void* storage) {
    return reinterpret_cast<std::byte*>(reinterpret_cast<uintptr_t>(storage) &
                                        ~static_cast<uintptr_t>(kLargeBlockBytes - 1));
  }

  // Makes a new block the one being filled; the one before goes when nothing in it lives.
  void StartBlock() {
    auto* block = static_cast<std::byte*>(AllocateLargeBlock());
    if (!block) throw std::bad_alloc();
    ++blocks_;
    new (block) BlockHeader();
    CVA_POISON(block + kHeaderBytes, kLargeBlockBytes - kHeaderBytes);
    std::byte* previous = current_;
    current_ = block;
    next_ = reinterpret_cast<uintptr_t>(block) + kHeaderBytes;
    if (previous && Header(previous).live == 0) Release(previous);
  }

  void Release(std::byte* block) {
    CVA_UNPOISON(block, kLargeBlockBytes);
    FreeLargeBlock(block);
    --blocks_;
  }

  std::mutex mutex_;
  std::byte* current_ = nullptr;
  uintptr_t next_ = 0;
  size_t blocks_ = 0;
};

// Never destroyed: nodes of trees still alive at exit may be freed after static destructors.
Pool& ThePool() {
  static Pool* pool = new Pool();
  return *pool;
}

}  // namespace

void* NodePool::Allocate(size_t bytes, size_t alignment) {
  if (!Pooled(bytes, alignment)) return ::operator new (bytes, std::align_val_t{alignment});
  return ThePool().Allocate(bytes == 0 ? 1 : bytes, alignment);
}

void NodePool::Free(void* storage, size_t bytes, size_t alignment) {
  if (!storage) return;
  if (!Pooled(bytes, alignment)) {
    ::operator delete (storage, bytes, std::align_val_t{alignment});
    return;
  }
  ThePool().Free(storage, bytes == 0 ? 1 : bytes);
}

size_t NodePool::BlocksInUse() {
  return ThePool().blocks();
}

}  // namespace cva
