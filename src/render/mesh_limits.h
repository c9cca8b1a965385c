#pragma once

// The largest mesh any graphics backend is asked for. Mesh counts come from documents, so the
// provider clamps them to these limits before a backend sizes anything from them.

#include <algorithm>
#include <cstdint>

namespace cva {

// 16-bit indices address at most this many vertices; more would only cost memory.
inline constexpr int32_t kMaxMeshVertices = 65536;
// The largest triangle count one draw call of the device takes (0xFFFFF), in indices.
inline constexpr int32_t kMaxMeshIndices = 0xFFFFF * 3;

inline int32_t ClampMeshVertices(int32_t count) {
  return std::clamp(count, 0, kMaxMeshVertices);
}
inline int32_t ClampMeshIndices(int32_t count) {
  return std::clamp(count, 0, kMaxMeshIndices);
}

}  // namespace cva
