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
// With more than one thread, draws and depth clears are queued and run when the picture is
// read or Flush is called, each thread taking its own bands of rows through the whole queue in
// order, so the picture is the same as with one thread. Textures handed to queued draws must
// live until then.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "render/colour.h"
#include "render/draw_state.h"
#include "render/matrix.h"
#include "render/soft/soft_provider.h"
#include "render/soft/soft_texture.h"

namespace cva {

class BandWorkers;

class SoftRasterizer {
 public:
  SoftRasterizer(int32_t width, int32_t height);
  ~SoftRasterizer();

  void Resize(int32_t width, int32_t height);
  int32_t width() const { return colour_.width(); }
  int32_t height() const { return colour_.height(); }

  void ClearColour(Texel colour);
  void ClearDepth(float depth);
  // Rasterizes with `count` threads (1: on the calling thread, at once; clamped to 1..16).
  void SetThreads(int32_t count);
  int32_t threads() const;
  // Runs the queued draws; the colour and depth buffers are then complete.
  void Flush();
  // Off: every pixel takes the general per-pixel path (tests compare the two).
  void set_fast_paths(bool on) { fast_paths_ = on; }
  // The frame's own states: blending on, add, source alpha and inverse source alpha.
  void SetFrameStates();
  void SetRenderState(RenderState state, uint32_t value);
  void set_cull_counter_clockwise(bool on) { cull_ccw_ = on; }

  void DrawFan(std::span<const SoftVertex> vertices, const Matrix4& world, Colour colour,
               const SoftTexture* texture, const Matrix4& texture_matrix);
  void DrawIndexed(std::span<const SoftVertex> vertices, std::span<const uint16_t> indices,
                   const Matrix4& world, Colour colour, const SoftTexture* texture,
                   const Matrix4& texture_matrix);

  // The colour buffer as of the last Flush.
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
  // The render states a pixel goes through, at the device's defaults.
  struct PixelStates {
    bool alpha_test = false;
    Compare alpha_func = Compare::kAlways;
    uint32_t alpha_ref = 0;
    bool blend = false;
    BlendFactor src_blend = BlendFactor::kOne;
    BlendFactor dest_blend = BlendFactor::kZero;
    bool z_enable = true;
    bool z_write = true;
    Compare z_func = Compare::kLessEqual;
  };
  // What one draw call needs besides its triangles.
  struct DrawInputs {
    float material[4];  // red, green, blue, alpha as the material's floats
    const SoftTexture* texture;
  };
  // A queued draw call: its inputs, the states it was made under, its triangles.
  struct Draw {
    DrawInputs inputs;
    PixelStates states;
    // White material, textured (power-of-two sides), source-over blending, no alpha test, and
    // a depth test that no depth 0 can fail: triangles at depth 0 take the fast path.
    bool fast;
    size_t first_triangle;
    size_t triangle_count;
  };
  // A snapped, clockwise triangle with its pixel bounds inside the frame.
  struct Setup {
    ScreenVertex a, b, c;
    int64_t ax, ay, bx, by, cx, cy;  // in 1/256 pixel
    int64_t x_min, x_max, y_min, y_max;
    double inv_area;
    bool small;       // edge values stay below 2^52, exact in doubles
    bool depth_zero;  // every vertex at depth 0, so every pixel is
  };
  // A queued command: a draw, or a clear of the colour or depth buffer.
  struct Command {
    enum class Kind : uint8_t { kDraw, kClearColour, kClearDepth } kind;
    Texel colour;
    float depth;
    size_t draw_index;
  };

  // Returns false when the vertex cannot be placed (w not above 0 or not finite).
  bool TransformVertex(const SoftVertex& in, const Matrix4& world_projection,
                       const Matrix4& texture_matrix, ScreenVertex& out) const;
  void Triangle(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c);
  void Snap(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c);
  // Runs the queue over rows first_row .. end_row - 1.
  void RunRows(int32_t first_row, int32_t end_row);
  void RasterizeRows(const Setup& t, const Draw& draw, int32_t first_row, int32_t end_row);
  void ShadePixel(int32_t x, int32_t y, double z, double u, double v, const DrawInputs& inputs,
                  const PixelStates& states);
  Matrix4 Projection() const;
  static bool Passes(Compare func, double value, double reference);

  SoftTexture colour_;
  std::vector<float> depth_;
  std::vector<uint16_t> fan_indices_;
  std::vector<ScreenVertex> screen_;
  std::vector<uint8_t> placed_;
  bool cull_ccw_ = true;
  bool fast_paths_ = true;
  PixelStates states_;
  // The value of the last depth clear: no written depth is below 0, so while it is not below
  // 0 either, a less-or-equal test at depth 0 passes everywhere.
  float depth_cleared_ = 1.0f;

  std::vector<Command> commands_;
  std::vector<Draw> draws_;
  std::vector<Setup> triangles_;
  std::unique_ptr<BandWorkers> workers_;
};

}  // namespace cva
