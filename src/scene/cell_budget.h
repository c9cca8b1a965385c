#pragma once

#include <cstdint>

namespace cva {

// How many tiled image cells the frame being drawn may still issue, over every scene it draws
// (embedded scenes included). Repeat counts are 16-bit, so one tiled node may ask for a
// thousand million cells; a limit per node alone would still let a document of many tiled
// nodes take seconds a frame. The playback host refills the budget before each frame's draw.
// The count is kept per thread: each player draws on one.
class CellBudget {
 public:
  static constexpr int64_t kCellsPerFrame = 65536;

  static void Refill();
  // Takes one cell; false when the frame has none left.
  static bool Take();
};

}  // namespace cva
