#pragma once

// The pixel pipeline of the software renderer: a colour buffer and a depth buffer, the render
// states DrawState switches, and triangle rasterization with the fixed-function rules:
//  - positions go through world x projection (the pixel-space orthographic camera) and the
//    viewport, and are snapped to 1/256 pixel;
//  - pixel (x, y) is sampled at its centre, the integer point (x, y); a pixel on an edge belongs
//    to the triangle only when the edge is a top or a left edge, so triangles sharing an edge
//    cover every pixel along it exactly once;
//  - counter-clockwise triangles (on screen) are culled by default;
//  - colour = texture x material (the material colour alone without a texture), alpha likewise;
//  - alpha test, then depth test and write, then blending; the colour buffer keeps alpha 255.

#include <cstdint>
#include <span>
#include <vector>

#include "render/colour.h"
#include "render/draw_state.h"
#include "render/matrix.h"
#include "render/soft/soft_provider.h"
#include "render/soft/soft_texture.h"

namespace cva {

class SoftRasterizer {
 public:
  SoftRasterizer(int32_t width, int32_t height);

  void Resize(int32_t width, int32_t height);
  int32_t width() const { return colour_.width(); }
  int32_t height() const { return colour_.height(); }

  void ClearColour(Texel colour) { colour_.Fill({colour.r, colour.g, colour.b, 255}); }
  void ClearDepth(float depth);
  // The frame's own states: blending on, add, source alpha and inverse source alpha.
  void SetFrameStates();
  void SetRenderState(RenderState state, uint32_t value);
  void set_cull_counter_clockwise(bool on) { cull_ccw_ = on; }

  void DrawFan(std::span<const SoftVertex> vertices, const Matrix4& world, Colour colour,
               const SoftTexture* texture, const Matrix4& texture_matrix);
  void DrawIndexed(std::span<const SoftVertex> vertices, std::span<const uint16_t> indices,
                   const Matrix4& world, Colour colour, const SoftTexture* texture,
                   const Matrix4& texture_matrix);

  const SoftTexture& colour() const { return colour_; }
  float DepthAt(int32_t x, int32_t y) const {
    return depth_[static_cast<size_t>(y) * static_cast<size_t>(width()) + static_cast<size_t>(x)];
  }

  // A vertex after the vertex stage: screen position, depth and transformed texture
  // coordinates.
  struct ScreenVertex {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    double u = 0.0;
    double v = 0.0;
  };

 private:
  // Comparison functions of the alpha and depth tests, including the device defaults.
  enum class Compare : uint8_t { kAlways, kGreater, kGreaterEqual, kLessEqual };
  // What one draw call needs besides its triangles.
  struct DrawInputs {
    float material[4];  // red, green, blue, alpha as the material's floats
    const SoftTexture* texture;
  };

  // Returns false when the vertex cannot be placed (w not above 0 or not finite).
  bool TransformVertex(const SoftVertex& in, const Matrix4& world_projection,
                       const Matrix4& texture_matrix, ScreenVertex& out) const;
  void Triangle(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c,
                const DrawInputs& inputs);
  void RasterizeSnapped(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c,
                        const DrawInputs& inputs);
  void ShadePixel(int32_t x, int32_t y, double z, double u, double v, const DrawInputs& inputs);
  Matrix4 Projection() const;
  static bool Passes(Compare func, double value, double reference);

  SoftTexture colour_;
  std::vector<float> depth_;
  std::vector<uint16_t> fan_indices_;
  std::vector<ScreenVertex> screen_;
  std::vector<uint8_t> placed_;
  bool cull_ccw_ = true;

  // Render states, at the device's defaults.
  bool alpha_test_ = false;
  Compare alpha_func_ = Compare::kAlways;
  uint32_t alpha_ref_ = 0;
  bool blend_ = false;
  BlendFactor src_blend_ = BlendFactor::kOne;
  BlendFactor dest_blend_ = BlendFactor::kZero;
  bool z_enable_ = true;
  bool z_write_ = true;
  Compare z_func_ = Compare::kLessEqual;
};

}  // namespace cva
