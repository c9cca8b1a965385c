#pragma once

#include <array>

#include "render/vec2.h"

namespace cva {

// A 4x4 float matrix in the row-vector convention: a point is a row vector multiplied on the
// left, (x, y, z, w) x M, so translation sits in the fourth row and applying A first and then
// B is the product A x B. m[r][c] is the element in row r and column c, both counted from 0.
struct Matrix4 {
  std::array<std::array<float, 4>, 4> m{};

  static Matrix4 Identity() {
    Matrix4 result;
    for (int i = 0; i < 4; ++i) result.m[i][i] = 1.0f;
    return result;
  }
  // Scales x, y and z by the given factors.
  static Matrix4 Scaling(float sx, float sy, float sz) {
    Matrix4 result = Identity();
    result.m[0][0] = sx;
    result.m[1][1] = sy;
    result.m[2][2] = sz;
    return result;
  }
  // Moves points by (x, y, z).
  static Matrix4 Translation(float x, float y, float z) {
    Matrix4 result = Identity();
    result.m[3][0] = x;
    result.m[3][1] = y;
    result.m[3][2] = z;
    return result;
  }
  // Rotates about the z axis by `radians`: the x axis turns towards the y axis, so with y
  // pointing down on the screen a positive angle turns clockwise.
  static Matrix4 RotationZ(float radians);

  friend bool operator==(const Matrix4&, const Matrix4&) = default;
};

// a x b: the transform that applies a first, then b.
inline Matrix4 Multiply(const Matrix4& a, const Matrix4& b) {
  // Row by row, so that the four columns of a row are computed side by side; each element is
  // still the sum 0 + a[r][0] b[0][c] + ... + a[r][3] b[3][c] taken in that order.
  Matrix4 result;
  for (int r = 0; r < 4; ++r) {
    float row[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    for (int k = 0; k < 4; ++k) {
      const float factor = a.m[r][k];
      for (int c = 0; c < 4; ++c) row[c] += factor * b.m[k][c];
    }
    for (int c = 0; c < 4; ++c) result.m[r][c] = row[c];
  }
  return result;
}

// The determinant, computed in double precision.
double Determinant(const Matrix4& matrix);

// Replaces `matrix` by its inverse and returns true. A singular matrix (determinant 0) or one
// whose determinant is not finite has no usable inverse: it is left unchanged and the result
// is false.
bool Invert(Matrix4& matrix);

// (p.x, p.y, 0, 1) x matrix, divided by the resulting w. When w is 0 (a point sent to
// infinity, which no affine transform does) the x and y are returned undivided.
Vec2 TransformCoord(const Matrix4& matrix, Vec2 point);

}  // namespace cva
