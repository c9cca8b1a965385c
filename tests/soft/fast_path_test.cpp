// The software renderer's shortcuts against its general per-pixel path: the integer blend, the
// textured span kernels and banded threads must draw exactly the bytes the general path draws.

#include <gtest/gtest.h>

#include <vector>

#include "render/matrix_transform.h"
#include "render/soft/textured_span.h"
#include "soft_test_support.h"

namespace cva::testing {
namespace {

// The general path's blend for a white material: texel bytes as float fractions, the blend in
// double, rounded to the nearest byte.
uint8_t FloatBlend(int texel, int alpha, int dest) {
  const double src = static_cast<float>(texel) / 255.0f;
  const double a = static_cast<float>(alpha) / 255.0f;
  const double value = src * a + dest / 255.0 * (1.0 - a);
  if (!(value > 0.0)) return 0;
  if (value >= 1.0) return 255;
  return static_cast<uint8_t>(value * 255.0 + 0.5);
}

TEST(SoftFastPathTest, IntegerBlendRoundsLikeTheFloatingPointBlendForEveryInput) {
  int mismatches = 0;
  for (uint32_t t = 0; t < 256; ++t) {
    for (uint32_t a = 0; a < 256; ++a) {
      for (uint32_t d = 0; d < 256; ++d) {
        mismatches += BlendChannelOver(t, a, d) !=
                      FloatBlend(static_cast<int>(t), static_cast<int>(a), static_cast<int>(d));
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
}

struct Setting {
  bool fast_paths;
  SpanKernel kernel;
  int32_t threads;
};

// Turned, scaled, offset and tinted sprites of a texture with every alpha and an opaque band, some
// at whole-pixel positions (texel edges on pixel centres), a mask written and drawn into, then the
// colour bytes and where depth was written.
std::vector<uint8_t> DrawScene(Setting setting) {
  SetSpanKernel(setting.kernel);
  SoftFrame frame(160, 120, {30, 60, 90, 255});
  frame.provider.SetFastPaths(setting.fast_paths);
  frame.provider.SetThreads(setting.threads);
  SoftTexture texture(64, 64);
  for (int32_t y = 0; y < 64; ++y) {
    for (int32_t x = 0; x < 64; ++x) {
      texture.Set(x, y,
                  {static_cast<uint8_t>(x * 4), static_cast<uint8_t>(y * 4),
                   static_cast<uint8_t>((x ^ y) * 4),
                   static_cast<uint8_t>(y < 24 ? 255 : (x * 64 + y) % 256)});
    }
  }
  auto image = frame.Image("t.png", PngOf(texture));
  auto sprite = frame.provider.CreateSprite();
  sprite->SetImage(image.get());
  for (int i = 0; i < 24; ++i) {
    const int32_t mask = i == 9            ? DrawState::kWriteMask
                         : i > 9 && i < 14 ? DrawState::kInsideMask
                                           : DrawState::kNoMask;
    frame.Modes(i % 6 == 5 ? DrawState::kBlendAdditive : DrawState::kBlendNormal, mask, 128);
    MatrixTransform world, step, tex;
    world.SetScale(0.4f + 0.13f * static_cast<float>(i % 9),
                   0.6f + 0.2f * static_cast<float>(i % 4));
    step.SetRotation(i % 4 == 0 ? 0.0f : 0.37f * static_cast<float>(i));
    world.PostMultiply(step);
    step.SetTranslation(static_cast<float>((i * 37) % 150) + (i % 3 == 0 ? 0.0f : 0.3f),
                        static_cast<float>((i * 23) % 110) - 10.0f);
    world.PostMultiply(step);
    tex.SetScale(i % 5 == 1 ? 2.0f : 1.0f, 1.0f);
    sprite->SetSize({64.0f + static_cast<float>(8 * (i % 3)), 64.0f});
    sprite->SetUvOffset({0.1f * static_cast<float>(i % 4), 0.0f});
    const Colour colour = i % 7 == 2 ? Colour{200, 255, 128, 200} : Colour{255, 255, 255, 255};
    sprite->Draw(world, colour, tex);
  }
  std::vector<uint8_t> out = frame.provider.framebuffer().pixels();
  for (int32_t y = 0; y < 120; ++y) {
    for (int32_t x = 0; x < 160; ++x) out.push_back(frame.provider.DepthAt(x, y) == 0.0f);
  }
  return out;
}

// Bytes that differ between two pictures of the same size.
size_t Differences(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  size_t count = 0;
  for (size_t i = 0; i < a.size(); ++i) count += a[i] != b[i];
  return count;
}

TEST(SoftFastPathTest, KernelsAndThreadsDrawWhatTheGeneralPathDraws) {
  const std::vector<uint8_t> general = DrawScene({false, SpanKernel::kPortable, 1});
  EXPECT_EQ(Differences(DrawScene({true, SpanKernel::kPortable, 1}), general), 0u);
  EXPECT_EQ(Differences(DrawScene({true, SpanKernel::kBest, 1}), general), 0u);
  EXPECT_EQ(Differences(DrawScene({true, SpanKernel::kBest, 3}), general), 0u);
  EXPECT_EQ(Differences(DrawScene({false, SpanKernel::kBest, 2}), general), 0u);
  SetSpanKernel(SpanKernel::kBest);
}

}  // namespace
}  // namespace cva::testing
