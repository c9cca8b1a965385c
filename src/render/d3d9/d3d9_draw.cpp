#include "render/d3d9/d3d9_draw.h"

#include <typeinfo>

#include "render/matrix_transform.h"

namespace cva::d3d9 {
namespace {

const Matrix4 kIdentity = Matrix4::Identity();

}  // namespace

const Matrix4& MatrixOf(const Transform& transform) {
  // MatrixTransform is final: an exact type match is the same test as a cast.
  if (typeid(transform) != typeid(MatrixTransform)) return kIdentity;
  return static_cast<const MatrixTransform&>(transform).matrix();
}

D3DMATRIX ToD3d(const Matrix4& matrix) {
  D3DMATRIX out;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) out.m[r][c] = matrix.m[r][c];
  return out;
}

void SetColourMaterial(IDirect3DDevice9& device, Colour colour) {
  constexpr double kByteScale = 1.0 / 255.0;
  const D3DCOLORVALUE value{
      static_cast<float>(colour.red * kByteScale), static_cast<float>(colour.green * kByteScale),
      static_cast<float>(colour.blue * kByteScale), static_cast<float>(colour.alpha * kByteScale)};
  D3DMATERIAL9 material{};
  material.Diffuse = value;
  material.Ambient = value;
  device.SetMaterial(&material);
}

}  // namespace cva::d3d9
