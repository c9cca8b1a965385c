#pragma once

namespace cva {

// The four cubic Hermite basis functions at t: a curve from p0 to p1 with tangents m0 and m1
// is h00 p0 + h10 m0 + h01 p1 + h11 m1. Shared by the Hermite ease curve and Hermite paths.
struct HermiteBasis {
  float h00;
  float h10;
  float h01;
  float h11;

  static HermiteBasis At(float t) {
    const float t2 = t * t;
    const float t3 = t2 * t;
    return {2.0f * t3 - 3.0f * t2 + 1.0f, t3 - 2.0f * t2 + t, 3.0f * t2 - 2.0f * t3, t3 - t2};
  }
};

}  // namespace cva
