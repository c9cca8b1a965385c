#pragma once

#include <cstdint>

namespace cva {

// Places glyph cells on a square page in rows from the top left: each cell goes right of the
// previous one with one pixel of gap; a cell that does not fit in the rest of the row starts a
// new row at the bottom of the row's tallest cell; a cell that does not fit below the last row
// needs a new page. Positions are floats as the atlas keeps them.
class PagePacker {
 public:
  static constexpr int32_t kPageSide = 256;

  // Prepares the place of a cell of w x h pixels: starts a new row when the cell does not fit
  // in the rest of this one. Returns true when the cell does not fit below the last row
  // either; the caller then flushes the page and calls Reset before placing it.
  bool Prepare(uint32_t w, uint32_t h);
  // Where the prepared cell goes.
  float x() const { return x_; }
  float y() const { return y_; }
  float row_bottom() const { return row_bottom_; }
  // Moves past a cell of w x h placed at the current position.
  void Advance(uint32_t w, uint32_t h);
  // Whether anything has been placed since the last Reset.
  bool Used() const { return x_ != 0.0f || y_ != 0.0f; }
  void Reset() { x_ = y_ = row_bottom_ = 0.0f; }

 private:
  float x_ = 0.0f;
  float y_ = 0.0f;
  float row_bottom_ = 0.0f;
};

}  // namespace cva
