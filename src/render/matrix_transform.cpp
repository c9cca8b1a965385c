#include "render/matrix_transform.h"

#include <typeinfo>

namespace cva {
namespace {

const Matrix4* MatrixOf(const Transform& transform) {
  // The class is final, so comparing the exact type is enough (and cheaper than a cast search).
  if (typeid(transform) != typeid(MatrixTransform)) return nullptr;
  return &static_cast<const MatrixTransform&>(transform).matrix();
}

}  // namespace

void MatrixTransform::SetScale(float sx, float sy) {
  matrix_ = Matrix4::Scaling(sx, sy, 1.0f);
}

void MatrixTransform::SetTranslation(float x, float y) {
  matrix_ = Matrix4::Translation(x, y, 0.0f);
}

void MatrixTransform::SetRotation(float radians) {
  matrix_ = Matrix4::RotationZ(radians);
}

void MatrixTransform::SetTexOffset(float u, float v) {
  // Texture coordinates enter as (u, v, 1, 0), so the third row translates them.
  matrix_ = Matrix4::Identity();
  matrix_.m[2][0] = u;
  matrix_.m[2][1] = v;
}

void MatrixTransform::PreMultiply(const Transform& other) {
  if (const Matrix4* first = MatrixOf(other)) matrix_ = Multiply(*first, matrix_);
}

void MatrixTransform::PostMultiply(const Transform& other) {
  if (const Matrix4* second = MatrixOf(other)) matrix_ = Multiply(matrix_, *second);
}

Vec2 MatrixTransform::TransformPoint(Vec2 point) const {
  return TransformCoord(matrix_, point);
}

void MatrixTransform::CopyFrom(const Transform& other) {
  if (const Matrix4* source = MatrixOf(other)) matrix_ = *source;
}

void MatrixTransform::Invert() {
  cva::Invert(matrix_);
}

void MatrixTransform::SetIdentity() {
  matrix_ = Matrix4::Identity();
}

}  // namespace cva
