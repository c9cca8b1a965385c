#pragma once

// The portable graphics backend: its primitives rasterize into an RGBA framebuffer in memory
// with the fixed-function semantics the Windows player uses (pixel centres at integer
// coordinates, top-left fill rule, material colour modulating the texture, point sampling with
// wrap addressing, the blend, alpha-test and depth states DrawState switches). It is the
// graphics part of a ComposedProvider and the RenderStateTarget of the scene's DrawState.
//
// A frame: BeginFrame (clears to the clear colour and depth 1.0, restores the frame's render
// states), then the scene draws, then framebuffer() holds the picture.

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "render/colour.h"
#include "render/draw_state.h"
#include "render/graphics_backend.h"
#include "render/image_resource.h"
#include "render/matrix.h"
#include "render/soft/soft_texture.h"

namespace cva {

class SoftRasterizer;

// One vertex handed to the rasterizer: a position in the primitive's local space (z is 0) and
// a two-component texture coordinate.
struct SoftVertex {
  float x = 0.0f;
  float y = 0.0f;
  float u = 0.0f;
  float v = 0.0f;
};

class SoftProvider final : public GraphicsBackend, public RenderStateTarget {
 public:
  // Makes the text primitives. The default one draws nothing and has empty glyphs.
  using TextFactory = std::function<std::unique_ptr<TextPrimitive>(SoftProvider& provider)>;

  // A framebuffer of the given size (640 by 480 like the player's first back buffer).
  explicit SoftProvider(int32_t width = 640, int32_t height = 480);
  ~SoftProvider() override;
  SoftProvider(const SoftProvider&) = delete;
  SoftProvider& operator=(const SoftProvider&) = delete;

  // --- GraphicsBackend ---
  std::unique_ptr<Transform> CreateTransform() override;  // a MatrixTransform
  std::unique_ptr<SolidQuad> CreateSolidQuad() override;
  std::unique_ptr<Sprite> CreateSprite() override;
  std::unique_ptr<TextPrimitive> CreateTextPrimitive() override;
  std::unique_ptr<MeshPrimitive> CreateMesh(int32_t vertex_count, int32_t index_count) override;
  // A SoftImage: decoded into a texture when it loads.
  std::unique_ptr<ImageResource> CreateImageResource(ResourceProvider& owner,
                                                     const EncodedText& name) override;
  // Ends any previous mask (clearing depth), then marks a mask in use.
  void BeginMask(const Transform& transform, Vec2 extent) override;
  // Clears depth to 1.0 when a mask is in use.
  void EndMask() override;

  // --- RenderStateTarget (DrawState::Apply) ---
  void SetRenderState(RenderState state, uint32_t value) override;

  // --- Plugging in ---
  void SetTextFactory(TextFactory factory);  // an empty function restores the default

  // --- The frame ---
  // Changes the framebuffer size (each side at least 1, at most SoftTexture::kMaxSide).
  void Resize(int32_t width, int32_t height);
  int32_t width() const;
  int32_t height() const;
  // The clear colour from a document's background bytes; its alpha is ignored (opaque).
  void SetClearColour(Colour background);
  // Clears colour and depth (1.0), forgets any mask and sets the frame's render states: alpha
  // blending on with source alpha and inverse source alpha. The other states keep what the
  // last DrawState Apply set (the device defaults before the first: no alpha test, depth test
  // on with less-or-equal and depth writes); the scene applies its states before it draws.
  void BeginFrame();
  // The colour buffer, queued draws run first; its alpha is always 255.
  const SoftTexture& framebuffer() const;
  // Depth at pixel (x, y) (inside the framebuffer): 1.0 cleared, 0.0 written by a mask.
  float DepthAt(int32_t x, int32_t y) const;
  // Whether counter-clockwise triangles (on screen) are dropped, as the device's default cull
  // mode does; on by default.
  void SetCullCounterClockwise(bool on);
  // Rasterizes with `count` threads (1, the default: every draw at once on the calling
  // thread). With more, draws are queued until the picture is read or Flush is called, and
  // the textures they name must live until then; the picture is the same either way.
  void SetThreads(int32_t count);
  int32_t threads() const;
  // Runs the queued draws.
  void Flush();
  // Off: every pixel takes the general per-pixel path, which the shortcuts must match (tests).
  void SetFastPaths(bool on);
  // Sees every draw as it is made: the vertices, world matrix, colour and texture (the render
  // benchmark hands the same frame to another renderer with it). Empty: none.
  using DrawObserver =
      std::function<void(std::span<const SoftVertex> vertices, const Matrix4& world, Colour colour,
                         const SoftTexture* texture)>;
  void SetDrawObserver(DrawObserver observer);

  // --- For primitives made elsewhere (glyph pages) ---
  // Draws a triangle fan (vertices 0, i, i+1) or an indexed triangle list (indices not
  // naming a vertex drop their triangle) with the current render states. `world` maps local
  // positions to pixels; the colour is the material; `texture` may be nullptr (the colour
  // itself is drawn); `texture_matrix` transforms (u, v, 1, 0).
  void DrawFan(std::span<const SoftVertex> vertices, const Matrix4& world, Colour colour,
               const SoftTexture* texture, const Matrix4& texture_matrix);
  void DrawIndexed(std::span<const SoftVertex> vertices, std::span<const uint16_t> indices,
                   const Matrix4& world, Colour colour, const SoftTexture* texture,
                   const Matrix4& texture_matrix);

  // The matrix of a transform made by any provider that uses MatrixTransform (identity for
  // other kinds).
  static const Matrix4& MatrixOf(const Transform& transform);
  // The texture of a loaded image made by a SoftProvider, nullptr otherwise.
  static const SoftTexture* TextureOf(const ImageResource* image);

 private:
  std::unique_ptr<SoftRasterizer> raster_;
  TextFactory text_factory_;
  DrawObserver draw_observer_;
  Texel clear_colour_{0, 0, 0, 255};
  bool mask_in_use_ = false;
};

}  // namespace cva
