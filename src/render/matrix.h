#pragma once

#include <array>

#include "render/vec2.h"

namespace cva {

// A 4x4 float matrix in the row-vector convention: a point is a row vector multiplied on the
// left, (x, y, z, w) x M, so translation sits in the fourth row and applying A first and then
// B is the product A x B. m[r][c] is the element in row r and column c, both counted from 0.
struct Matrix4 {
  std::array<std::array<float, 4>, 4> m{};

  static Matrix4 Identity();
  // Scales x, y and z by the given factors.
  static Matrix4 Scaling(float sx, float sy, float sz);
  // Moves points by (x, y, z).
  static Matrix4 Translation(float x, float y, float z);
  // Rotates about the z axis by `radians`: the x axis turns towards the y axis, so with y
  // pointing down on the screen a positive angle turns clockwise.
  static Matrix4 RotationZ(float radians);

  friend bool operator==(const Matrix4&, const Matrix4&) = default;
};

// a x b: the transform that applies a first, then b.
Matrix4 Multiply(const Matrix4& a, const Matrix4& b);

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
