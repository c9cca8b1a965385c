// The graphics backend's plumbing: plugged-in text factories, the kinds of its matrices and
// textures, and writing the framebuffer as PNG.

#include <gtest/gtest.h>

#include "render/codec/image_decoder.h"
#include "render/inert_primitives.h"
#include "soft_test_support.h"
#include "support/temp_dir.h"

namespace cva::testing {
namespace {

TEST(SoftProviderTest, TextPrimitivesComeFromThePluggedFactory) {
  SoftProvider provider;
  auto inert = provider.CreateTextPrimitive();
  ASSERT_NE(inert, nullptr);
  EXPECT_NE(inert->GetGlyph(0, 1, 'A'), nullptr);
  SoftProvider* seen = nullptr;
  provider.SetTextFactory([&](SoftProvider& owner) -> std::unique_ptr<TextPrimitive> {
    seen = &owner;
    return std::make_unique<InertTextPrimitive>();
  });
  EXPECT_NE(provider.CreateTextPrimitive(), nullptr);
  EXPECT_EQ(seen, &provider);
}

TEST(SoftProviderTest, MatricesAndTexturesOnlyFromTheirOwnKinds) {
  SoftProvider provider;
  InertTransform foreign;
  EXPECT_EQ(SoftProvider::MatrixOf(foreign), Matrix4::Identity());
  auto own = provider.CreateTransform();
  own->SetTranslation(3, 4);
  EXPECT_EQ(SoftProvider::MatrixOf(*own), Matrix4::Translation(3, 4, 0));
  ComposedProvider owner(provider);
  auto image = provider.CreateImageResource(owner, EncodedText::FromNarrow("idle.png"));
  EXPECT_EQ(SoftProvider::TextureOf(image.get()), nullptr);  // not loaded
  EXPECT_EQ(SoftProvider::TextureOf(nullptr), nullptr);
}

TEST(SoftProviderTest, FramebufferWritesAsPngAndReadsBack) {
  SoftFrame frame(5, 3, {10, 20, 30, 255});
  frame.Quad({1, 1}, {3, 1}, {255, 128, 0, 255});
  TempDir dir;
  std::string error;
  ASSERT_TRUE(WritePng(frame.provider.framebuffer(), dir.File("frame.png"), false, error)) << error;
  DecodedImage decoded;
  ASSERT_TRUE(DecodeImage(ReadBytes(dir.File("frame.png")), decoded, error)) << error;
  EXPECT_EQ(decoded.pixels, frame.provider.framebuffer());
  EXPECT_FALSE(decoded.alpha_channel);  // written as RGB
  EXPECT_EQ(decoded.pixels.At(2, 1), (Texel{255, 128, 0, 255}));
  EXPECT_FALSE(WritePng(frame.provider.framebuffer(), dir.File("no/such/dir.png"), false, error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(WritePng(SoftTexture(), dir.File("empty.png"), true, error));
}

}  // namespace
}  // namespace cva::testing
