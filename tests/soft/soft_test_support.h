#pragma once

// Helpers for the software renderer tests: a provider with a DrawState, images loaded from
// bytes, and small image files made in memory.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "document/composed_provider.h"
#include "render/codec/png_writer.h"
#include "render/draw_state.h"
#include "render/matrix_transform.h"
#include "render/soft/soft_provider.h"
#include "stream/encoded_text.h"

namespace cva {

inline void PrintTo(const Texel& t, std::ostream* os) {
  *os << "(" << int{t.r} << ", " << int{t.g} << ", " << int{t.b} << ", " << int{t.a} << ")";
}

}  // namespace cva

namespace cva::testing {

// The software graphics ready to draw a frame, with a provider over them whose named data
// comes from a map filled by the test.
class SoftFrame {
 public:
  SoftFrame(int32_t width, int32_t height, Colour background = {0, 0, 0, 255})
      : provider(width, height), state(provider) {
    composed.SetDataSource(source_);
    provider.SetClearColour(background);
    provider.BeginFrame();
    // What the scene does before it draws.
    Modes(DrawState::kBlendNormal, DrawState::kNoMask, 255);
  }

  void Modes(int32_t blend, int32_t mask, int32_t threshold) {
    state.SetBlendMode(blend);
    state.SetMaskMode(mask);
    state.SetMaskThreshold(threshold);
    state.Apply();
  }

  // An image resource loaded from `bytes` under `name` (done when the bytes decode).
  std::unique_ptr<ImageResource> Image(const std::string& name, std::vector<uint8_t> bytes) {
    files[name] = std::move(bytes);
    auto image = composed.CreateImageResource(EncodedText::FromNarrow(name));
    image->Start();
    image->Poll();
    image->Poll();
    return image;
  }

  // Draws a solid quad of `size` at `origin`.
  void Quad(Vec2 origin, Vec2 size, Colour colour) {
    auto quad = provider.CreateSolidQuad();
    quad->SetSize(size);
    MatrixTransform world;
    world.SetTranslation(origin);
    quad->Draw(world, colour);
  }

  Texel At(int32_t x, int32_t y) const { return provider.framebuffer().At(x, y); }

  SoftProvider provider;  // the graphics
  ComposedProvider composed{provider};
  DrawState state;
  std::map<std::string, std::vector<uint8_t>> files;

 private:
  struct MapSource final : DataSource {
    explicit MapSource(std::map<std::string, std::vector<uint8_t>>& f) : files(f) {}
    std::unique_ptr<OpenDataRequest> OpenData(const EncodedText& name) override {
      auto it = files.find(name.RawNarrow());
      if (it == files.end()) return nullptr;
      return std::make_unique<CompleteDataRequest>(it->second);
    }
    std::map<std::string, std::vector<uint8_t>>& files;
  } source_{files};
};

// A texture from rows of texels.
inline SoftTexture TextureOf(const std::vector<std::vector<Texel>>& rows) {
  SoftTexture texture(static_cast<int32_t>(rows[0].size()), static_cast<int32_t>(rows.size()));
  for (size_t y = 0; y < rows.size(); ++y) {
    for (size_t x = 0; x < rows[y].size(); ++x) {
      texture.Set(static_cast<int32_t>(x), static_cast<int32_t>(y), rows[y][x]);
    }
  }
  return texture;
}

// The texture as an RGBA PNG file.
inline std::vector<uint8_t> PngOf(const SoftTexture& texture) {
  std::vector<uint8_t> bytes;
  std::string error;
  EXPECT_TRUE(EncodePng(texture, true, bytes, error)) << error;
  return bytes;
}

constexpr Texel kRed{255, 0, 0, 255};
constexpr Texel kGreen{0, 255, 0, 255};
constexpr Texel kBlue{0, 0, 255, 255};
constexpr Texel kWhite{255, 255, 255, 255};
constexpr Texel kBlack{0, 0, 0, 255};
constexpr Texel kClear{0, 0, 0, 0};

}  // namespace cva::testing
