#include "scene/cell_budget.h"

namespace cva {
namespace {
thread_local int64_t cells_left = CellBudget::kCellsPerFrame;
}  // namespace

void CellBudget::Refill() {
  cells_left = kCellsPerFrame;
}

bool CellBudget::Take() {
  if (cells_left <= 0) return false;
  --cells_left;
  return true;
}

}  // namespace cva
