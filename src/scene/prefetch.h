#pragma once

namespace cva {

// A hint to the processor to start loading the cache line at `address` for reading; it has no
// effect on what the program computes (and does nothing where the compiler has no such hint).
inline void PrefetchForRead(const void* address) {
#if defined(__GNUC__)
  __builtin_prefetch(address);
#else
  (void)address;
#endif
}

}  // namespace cva
