#include "render/glyphs/page_packer.h"

#include <algorithm>

namespace cva {

bool PagePacker::Prepare(uint32_t w, uint32_t h) {
  if (x_ + static_cast<float>(w) > static_cast<float>(kPageSide)) {
    x_ = 0.0f;
    y_ = row_bottom_;
  }
  return y_ + static_cast<float>(h) > static_cast<float>(kPageSide);
}

void PagePacker::Advance(uint32_t w, uint32_t h) {
  x_ = x_ + static_cast<float>(w) + 1.0f;
  row_bottom_ = std::max(row_bottom_, y_ + static_cast<float>(h));
}

}  // namespace cva
