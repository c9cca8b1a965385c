#pragma once

// What every primitive of the Direct3D 9 backend does around its draw call: matrices of the
// portable transforms handed to the device, the colour turned into the material, and the
// vertex layouts.

#include <d3d9.h>

#include <array>

#include "render/colour.h"
#include "render/matrix.h"
#include "render/primitives.h"
#include "render/vec2.h"

namespace cva::d3d9 {

// x, y, z and a diffuse colour (ignored: vertex colour is off).
struct ColouredVertex {
  float x, y, z;
  D3DCOLOR diffuse;
};
inline constexpr DWORD kColouredFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE;

// x, y, z, a diffuse colour and one pair of texture coordinates.
struct TexturedVertex {
  float x, y, z;
  D3DCOLOR diffuse;
  float u, v;
};
inline constexpr DWORD kTexturedFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;

static_assert(sizeof(ColouredVertex) == 16 && sizeof(TexturedVertex) == 24);

// Corners of the unit quad, drawn as a triangle fan.
inline constexpr std::array<Vec2, 4> kUnitQuad = {{{0, 0}, {1, 0}, {1, 1}, {0, 1}}};

// The matrix of a transform made by this backend (a MatrixTransform); the identity for a
// transform of another kind.
const Matrix4& MatrixOf(const Transform& transform);

// Both matrices use rows of points multiplied on the left, so the elements carry over as
// they are.
D3DMATRIX ToD3d(const Matrix4& matrix);

// Sets the material of the next draw: diffuse and ambient are the colour's bytes times the
// double 1/255, stored as floats; specular, emissive and power are 0. Under the frame's states
// stage 0 multiplies the texture by exactly this colour and alpha.
void SetColourMaterial(IDirect3DDevice9& device, Colour colour);

}  // namespace cva::d3d9
