#pragma once

// Where one edge of a triangle lets a row's pixels through, walked down the rows with integer
// additions instead of a division per row.

#include <algorithm>
#include <cstdint>

namespace cva {

class EdgeBound {
 public:
  // An edge whose value plus bias is `base` at the first pixel of the first row, changing by
  // `step` per pixel to the right and by `row_step` per row down. Pixel k of a row passes when
  // base + k step >= 0.
  EdgeBound(int64_t base, int64_t step, int64_t row_step) {
    if (step == 0) {
      numerator_ = base;
      delta_ = row_step;
      return;
    }
    // step > 0: k >= ceil(-base / step); step < 0: k <= floor(base / -step).
    low_ = step > 0;
    divisor_ = low_ ? step : -step;
    Start(low_ ? -base : base, low_ ? -row_step : row_step);
  }

  // Narrows the row's pixel range lo..hi (offsets from its first pixel) to what the edge
  // passes; an empty range ends with lo > hi.
  void Narrow(int64_t& lo, int64_t& hi) const {
    if (divisor_ == 0) {
      if (numerator_ < 0) hi = lo - 1;
    } else if (low_) {
      lo = std::max(lo, quotient_ + (remainder_ > 0 ? 1 : 0));
    } else {
      hi = std::min(hi, quotient_);
    }
  }

  void NextRow() {
    if (divisor_ == 0) {
      numerator_ += delta_;
      return;
    }
    quotient_ += delta_quotient_;
    remainder_ += delta_remainder_;
    if (remainder_ >= divisor_) {
      remainder_ -= divisor_;
      ++quotient_;
    }
  }

 private:
  static int64_t FloorDiv(int64_t value, int64_t divisor) {
    int64_t q = value / divisor;
    if (value % divisor != 0 && value < 0) --q;  // divisor > 0
    return q;
  }
  // numerator = quotient x divisor + remainder with 0 <= remainder < divisor, likewise for
  // the change per row.
  void Start(int64_t numerator, int64_t delta) {
    quotient_ = FloorDiv(numerator, divisor_);
    remainder_ = numerator - quotient_ * divisor_;
    delta_quotient_ = FloorDiv(delta, divisor_);
    delta_remainder_ = delta - delta_quotient_ * divisor_;
  }

  bool low_ = false;
  int64_t divisor_ = 0;  // 0: the edge is horizontal and passes whole rows or none
  int64_t numerator_ = 0;
  int64_t delta_ = 0;
  int64_t quotient_ = 0;
  int64_t remainder_ = 0;
  int64_t delta_quotient_ = 0;
  int64_t delta_remainder_ = 0;
};

}  // namespace cva
