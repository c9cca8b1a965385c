#pragma once

#include "render/matrix.h"
#include "render/primitives.h"

namespace cva {

// The portable Transform: one Matrix4, set and combined in software. Used where no graphics
// device exists (the converter's headless platform, tests) and wherever the scene only needs
// the arithmetic.
class MatrixTransform final : public Transform {
 public:
  MatrixTransform() = default;
  explicit MatrixTransform(const Matrix4& matrix) : matrix_(matrix) {}

  void SetScale(Vec2 scale) override { SetScale(scale.x, scale.y); }
  void SetScale(float sx, float sy) override;
  void SetTranslation(Vec2 offset) override { SetTranslation(offset.x, offset.y); }
  void SetTranslation(float x, float y) override;
  void SetRotation(float radians) override;
  void SetTexOffset(Vec2 offset) override { SetTexOffset(offset.x, offset.y); }
  void SetTexOffset(float u, float v) override;
  // Both combine only with another MatrixTransform; a transform of another kind (from another
  // provider) is ignored, as the two never meet in one scene.
  void PreMultiply(const Transform& other) override;
  void PostMultiply(const Transform& other) override;
  Vec2 TransformPoint(Vec2 point) const override;
  void CopyFrom(const Transform& other) override;
  // A singular matrix has no inverse and is left as it is.
  void Invert() override;
  void SetIdentity() override;

  const Matrix4& matrix() const { return matrix_; }
  // For callers that compute the matrix themselves and only store it here.
  Matrix4& mutable_matrix() { return matrix_; }

 private:
  Matrix4 matrix_ = Matrix4::Identity();
};

}  // namespace cva
