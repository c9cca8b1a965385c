#include "render/matrix.h"

#include <cmath>
#include <limits>

#include "render/trig.h"

namespace cva {
namespace {

// The 2x2 minors of the upper two rows (s) and of the lower two rows (c), from which both the
// determinant and the adjugate follow by Laplace expansion along those row pairs. s[k] and
// c[5 - k] use complementary column pairs.
struct Minors {
  double s[6];
  double c[6];
};

Minors MinorsOf(const Matrix4& matrix) {
  auto a = [&](int r, int c) { return static_cast<double>(matrix.m[r][c]); };
  Minors minors;
  // Column pairs in the order (0,1) (0,2) (0,3) (1,2) (1,3) (2,3).
  static constexpr int kPairs[6][2] = {{0, 1}, {0, 2}, {0, 3}, {1, 2}, {1, 3}, {2, 3}};
  for (int k = 0; k < 6; ++k) {
    const int i = kPairs[k][0];
    const int j = kPairs[k][1];
    minors.s[k] = a(0, i) * a(1, j) - a(0, j) * a(1, i);
    minors.c[k] = a(2, i) * a(3, j) - a(2, j) * a(3, i);
  }
  return minors;
}

// Narrows a double to float; values beyond the float range become infinities explicitly
// (converting them directly is not defined by the language).
float ToFloat(double value) {
  constexpr double kLargest = std::numeric_limits<float>::max();
  if (value > kLargest) return std::numeric_limits<float>::infinity();
  if (value < -kLargest) return -std::numeric_limits<float>::infinity();
  return static_cast<float>(value);
}

double DeterminantOf(const Minors& n) {
  return n.s[0] * n.c[5] - n.s[1] * n.c[4] + n.s[2] * n.c[3] + n.s[3] * n.c[2] - n.s[4] * n.c[1] +
         n.s[5] * n.c[0];
}

}  // namespace

Matrix4 Matrix4::RotationZ(float radians) {
  // Row vectors: (x, y) becomes (x cos - y sin, x sin + y cos).
  const auto [sine, cosine] = SinAndCos(radians);
  Matrix4 result = Identity();
  result.m[0][0] = cosine;
  result.m[0][1] = sine;
  result.m[1][0] = -sine;
  result.m[1][1] = cosine;
  return result;
}

double Determinant(const Matrix4& matrix) {
  return DeterminantOf(MinorsOf(matrix));
}

bool Invert(Matrix4& matrix) {
  const Minors n = MinorsOf(matrix);
  const double det = DeterminantOf(n);
  if (det == 0.0 || !std::isfinite(det)) return false;
  auto a = [&](int r, int c) { return static_cast<double>(matrix.m[r][c]); };
  const double* s = n.s;
  const double* c = n.c;
  // The adjugate (transposed cofactors), expanded along the upper and lower row pairs.
  const double adj[4][4] = {
      {a(1, 1) * c[5] - a(1, 2) * c[4] + a(1, 3) * c[3],
       -a(0, 1) * c[5] + a(0, 2) * c[4] - a(0, 3) * c[3],
       a(3, 1) * s[5] - a(3, 2) * s[4] + a(3, 3) * s[3],
       -a(2, 1) * s[5] + a(2, 2) * s[4] - a(2, 3) * s[3]},
      {-a(1, 0) * c[5] + a(1, 2) * c[2] - a(1, 3) * c[1],
       a(0, 0) * c[5] - a(0, 2) * c[2] + a(0, 3) * c[1],
       -a(3, 0) * s[5] + a(3, 2) * s[2] - a(3, 3) * s[1],
       a(2, 0) * s[5] - a(2, 2) * s[2] + a(2, 3) * s[1]},
      {a(1, 0) * c[4] - a(1, 1) * c[2] + a(1, 3) * c[0],
       -a(0, 0) * c[4] + a(0, 1) * c[2] - a(0, 3) * c[0],
       a(3, 0) * s[4] - a(3, 1) * s[2] + a(3, 3) * s[0],
       -a(2, 0) * s[4] + a(2, 1) * s[2] - a(2, 3) * s[0]},
      {-a(1, 0) * c[3] + a(1, 1) * c[1] - a(1, 2) * c[0],
       a(0, 0) * c[3] - a(0, 1) * c[1] + a(0, 2) * c[0],
       -a(3, 0) * s[3] + a(3, 1) * s[1] - a(3, 2) * s[0],
       a(2, 0) * s[3] - a(2, 1) * s[1] + a(2, 2) * s[0]},
  };
  const double scale = 1.0 / det;
  for (int r = 0; r < 4; ++r) {
    for (int col = 0; col < 4; ++col) matrix.m[r][col] = ToFloat(adj[r][col] * scale);
  }
  return true;
}

Vec2 TransformCoord(const Matrix4& matrix, Vec2 point) {
  const auto& m = matrix.m;
  const float x = point.x * m[0][0] + point.y * m[1][0] + m[3][0];
  const float y = point.x * m[0][1] + point.y * m[1][1] + m[3][1];
  const float w = point.x * m[0][3] + point.y * m[1][3] + m[3][3];
  if (w == 0.0f) return {x, y};
  return {x / w, y / w};
}

}  // namespace cva
