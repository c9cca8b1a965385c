#include "render/matrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "render/matrix_transform.h"

namespace cva {
namespace {

constexpr float kTolerance = 1e-5f;

void ExpectPointNear(Vec2 actual, Vec2 expected) {
  EXPECT_NEAR(actual.x, expected.x, kTolerance);
  EXPECT_NEAR(actual.y, expected.y, kTolerance);
}

void ExpectMatrixNear(const Matrix4& actual, const Matrix4& expected, float tolerance) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c)
      EXPECT_NEAR(actual.m[r][c], expected.m[r][c], tolerance) << "row " << r << " column " << c;
}

TEST(MatrixTest, SettersLayOutScaleTranslationAndRotationInRowVectorForm) {
  const Matrix4 scale = Matrix4::Scaling(2.0f, 3.0f, 1.0f);
  EXPECT_EQ(scale.m[0][0], 2.0f);
  EXPECT_EQ(scale.m[1][1], 3.0f);
  EXPECT_EQ(scale.m[2][2], 1.0f);
  EXPECT_EQ(scale.m[3][3], 1.0f);

  const Matrix4 move = Matrix4::Translation(5.0f, -7.0f, 0.0f);
  EXPECT_EQ(move.m[3][0], 5.0f);  // translation lives in the fourth row
  EXPECT_EQ(move.m[3][1], -7.0f);
  EXPECT_EQ(move.m[0][3], 0.0f);
  ExpectPointNear(TransformCoord(move, {1.0f, 1.0f}), {6.0f, -6.0f});

  // A quarter turn takes the x axis onto the y axis (clockwise with y pointing down).
  const Matrix4 turn = Matrix4::RotationZ(std::numbers::pi_v<float> / 2);
  ExpectPointNear(TransformCoord(turn, {1.0f, 0.0f}), {0.0f, 1.0f});
  ExpectPointNear(TransformCoord(turn, {0.0f, 1.0f}), {-1.0f, 0.0f});
  EXPECT_NEAR(turn.m[0][1], 1.0f, kTolerance);
  EXPECT_NEAR(turn.m[1][0], -1.0f, kTolerance);
}

TEST(MatrixTest, ProductAppliesTheLeftFactorFirst) {
  const Matrix4 scale = Matrix4::Scaling(2.0f, 2.0f, 1.0f);
  const Matrix4 move = Matrix4::Translation(10.0f, 0.0f, 0.0f);
  // Scale, then move: (1, 1) -> (2, 2) -> (12, 2).
  ExpectPointNear(TransformCoord(Multiply(scale, move), {1.0f, 1.0f}), {12.0f, 2.0f});
  // Move, then scale: (1, 1) -> (11, 1) -> (22, 2).
  ExpectPointNear(TransformCoord(Multiply(move, scale), {1.0f, 1.0f}), {22.0f, 2.0f});
}

TEST(MatrixTest, InverseOfAGeneralMatrixRoundTrips) {
  Matrix4 general;
  const float values[16] = {2, 1, 0, 0.5f, -1, 3, 1, 0, 0, 2, 4, 1, 3, -2, 1, 2};
  for (int i = 0; i < 16; ++i) general.m[i / 4][i % 4] = values[i];
  Matrix4 inverse = general;
  ASSERT_TRUE(Invert(inverse));
  ExpectMatrixNear(Multiply(general, inverse), Matrix4::Identity(), 1e-5f);
  ExpectMatrixNear(Multiply(inverse, general), Matrix4::Identity(), 1e-5f);

  // Determinant against a hand expansion of a triangular matrix: product of its diagonal.
  Matrix4 triangular = Matrix4::Identity();
  triangular.m[0][0] = 2;
  triangular.m[1][1] = -3;
  triangular.m[2][2] = 0.5f;
  triangular.m[3][3] = 4;
  triangular.m[3][0] = 9;
  triangular.m[2][1] = 7;
  EXPECT_DOUBLE_EQ(Determinant(triangular), -12.0);
}

TEST(MatrixTest, InverseBringsAWorldPointBackIntoLocalSpace) {
  // The kind of matrix a node builds: scale, rotate, then move.
  const Matrix4 world =
      Multiply(Multiply(Matrix4::Scaling(2.0f, 0.5f, 1.0f), Matrix4::RotationZ(0.7f)),
               Matrix4::Translation(100.0f, 40.0f, 0.0f));
  const Vec2 local{3.0f, -8.0f};
  const Vec2 on_screen = TransformCoord(world, local);
  Matrix4 back = world;
  ASSERT_TRUE(Invert(back));
  const Vec2 again = TransformCoord(back, on_screen);
  EXPECT_NEAR(again.x, local.x, 1e-4f);
  EXPECT_NEAR(again.y, local.y, 1e-4f);
}

TEST(MatrixTest, SingularMatrixIsLeftUnchanged) {
  Matrix4 flat = Multiply(Matrix4::Scaling(0.0f, 1.0f, 1.0f), Matrix4::Translation(4, 5, 0));
  const Matrix4 before = flat;
  EXPECT_FALSE(Invert(flat));
  EXPECT_EQ(flat, before);

  Matrix4 broken = Matrix4::Identity();
  broken.m[0][0] = std::numeric_limits<float>::infinity();
  const Matrix4 broken_before = broken;
  EXPECT_FALSE(Invert(broken));
  EXPECT_EQ(broken, broken_before);
}

TEST(MatrixTest, InverseBeyondTheFloatRangeBecomesInfinite) {
  // A scale by the smallest float: its inverse 1 / 1.4e-45 does not fit in a float.
  Matrix4 tiny = Matrix4::Scaling(std::numeric_limits<float>::denorm_min(), 1.0f, 1.0f);
  ASSERT_TRUE(Invert(tiny));
  EXPECT_EQ(tiny.m[0][0], std::numeric_limits<float>::infinity());
  EXPECT_EQ(tiny.m[1][1], 1.0f);
}

TEST(MatrixTest, TransformCoordDividesByW) {
  Matrix4 projective = Matrix4::Identity();
  projective.m[3][3] = 2.0f;
  ExpectPointNear(TransformCoord(projective, {4.0f, 6.0f}), {2.0f, 3.0f});
  projective.m[3][3] = 0.0f;  // w of 0: returned undivided rather than infinite
  ExpectPointNear(TransformCoord(projective, {4.0f, 6.0f}), {4.0f, 6.0f});
}

TEST(MatrixTransformTest, PreMultiplyAppliesTheOtherFirstAndPostMultiplyAfter) {
  MatrixTransform scale;
  scale.SetScale(2.0f, 3.0f);
  MatrixTransform move;
  move.SetTranslation(Vec2{10.0f, 20.0f});

  MatrixTransform post;
  post.CopyFrom(scale);
  post.PostMultiply(move);  // scale, then move
  ExpectPointNear(post.TransformPoint({1.0f, 1.0f}), {12.0f, 23.0f});

  MatrixTransform pre;
  pre.CopyFrom(scale);
  pre.PreMultiply(move);  // move, then scale
  ExpectPointNear(pre.TransformPoint({1.0f, 1.0f}), {22.0f, 63.0f});
}

TEST(MatrixTransformTest, SettersOverwriteTheWholeMatrix) {
  MatrixTransform transform;
  transform.SetTranslation(5.0f, 5.0f);
  transform.SetRotation(std::numbers::pi_v<float>);
  ExpectPointNear(transform.TransformPoint({1.0f, 2.0f}), {-1.0f, -2.0f});
  transform.SetScale(Vec2{3.0f, 4.0f});
  ExpectPointNear(transform.TransformPoint({1.0f, 2.0f}), {3.0f, 8.0f});
  transform.SetIdentity();
  EXPECT_EQ(transform.matrix(), Matrix4::Identity());
}

TEST(MatrixTransformTest, TexOffsetTranslatesTextureCoordinatesThroughTheThirdRow) {
  MatrixTransform texture;
  texture.SetTexOffset(Vec2{0.5f, 0.25f});
  Matrix4 expected = Matrix4::Identity();
  expected.m[2][0] = 0.5f;
  expected.m[2][1] = 0.25f;
  EXPECT_EQ(texture.matrix(), expected);
  // A texture coordinate (u, v) enters as (u, v, 1, 0): it moves by the offset.
  const Matrix4& m = texture.matrix();
  const float u = 0.1f * m.m[0][0] + 0.2f * m.m[1][0] + 1.0f * m.m[2][0];
  const float v = 0.1f * m.m[0][1] + 0.2f * m.m[1][1] + 1.0f * m.m[2][1];
  EXPECT_NEAR(u, 0.6f, kTolerance);
  EXPECT_NEAR(v, 0.45f, kTolerance);
}

TEST(MatrixTransformTest, InvertRoundTripsAndKeepsASingularTransform) {
  MatrixTransform world;
  world.SetRotation(1.2f);
  MatrixTransform move;
  move.SetTranslation(-30.0f, 12.0f);
  world.PostMultiply(move);
  MatrixTransform inverse;
  inverse.CopyFrom(world);
  inverse.Invert();
  ExpectPointNear(inverse.TransformPoint(world.TransformPoint({7.0f, 9.0f})), {7.0f, 9.0f});

  MatrixTransform collapsed;
  collapsed.SetScale(0.0f, 0.0f);
  const Matrix4 before = collapsed.matrix();
  collapsed.Invert();
  EXPECT_EQ(collapsed.matrix(), before);
}

}  // namespace
}  // namespace cva
