// What the golden pictures cannot show of the Direct3D 9 backend: a resize whose reset fails
// at first, a process without a device, the mesh's guards, hit masks of images whose sides
// are not powers of two, and GDI fonts named in Shift-JIS.
#include <d3dx9.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "d3d9_session.h"
#include "document/composed_provider.h"
#include "render/d3d9/d3d9_graphics.h"
#include "render/d3d9/render_device.h"
#include "render/gdi/gdi_font.h"
#include "render/matrix_transform.h"
#include "support/recording_services.h"
#include "system/text_codec.h"

namespace cva::testing {
namespace {

class Step final : public FrameStep {
 public:
  explicit Step(std::function<void()> body) : body_(std::move(body)) {}
  void RunFrameStep() override {
    ++runs;
    body_();
  }
  int runs = 0;

 private:
  std::function<void()> body_;
};

constexpr Colour kRed{255, 0, 0, 255};

Texel At(const RgbaBitmap& bitmap, int32_t x, int32_t y) {
  return bitmap.At(x, y);
}

// The bytes of an image file D3DX writes from `argb` pixels (width x height, rows from the
// top) in the given A8R8G8B8 or X8R8G8B8 format.
std::vector<uint8_t> ImageFile(const std::vector<uint32_t>& argb, UINT width, UINT height,
                               D3DFORMAT format, D3DXIMAGE_FILEFORMAT file_format) {
  IDirect3DDevice9* device = RenderDevice::Instance().device();
  ComRef<IDirect3DSurface9> surface;
  ComRef<ID3DXBuffer> file;
  D3DLOCKED_RECT locked{};
  if (FAILED(device->CreateOffscreenPlainSurface(width, height, format, D3DPOOL_SYSTEMMEM,
                                                 surface.Receive(), nullptr)) ||
      FAILED(surface->LockRect(&locked, nullptr, 0)))
    return {};
  for (UINT y = 0; y < height; ++y)
    for (UINT x = 0; x < width; ++x)
      reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch)[x] =
          argb[y * width + x];
  surface->UnlockRect();
  if (FAILED(D3DXSaveSurfaceToFileInMemory(file.Receive(), file_format, surface.get(), nullptr,
                                           nullptr)))
    return {};
  const auto* bytes = static_cast<const uint8_t*>(file->GetBufferPointer());
  return std::vector<uint8_t>(bytes, bytes + file->GetBufferSize());
}

class D3d9BackendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!d3d9_session::EnsureDevice()) GTEST_SKIP() << "Direct3D 9 made no device";
  }
};

TEST_F(D3d9BackendTest, ResizeWaitsForAResetThatSucceedsThenOneWorldUnitIsOnePixel) {
  RenderDevice& device = RenderDevice::Instance();
  D3d9Graphics graphics(device);
  std::unique_ptr<SolidQuad> quad = graphics.CreateSolidQuad();
  quad->SetSize({10.0f, 50.0f});
  MatrixTransform at_right_edge;
  at_right_edge.SetTranslation(90.0f, 0.0f);
  RgbaBitmap picture;
  Step step([&] {
    quad->Draw(at_right_edge, kRed);
    device.ReadBackBuffer(picture);
  });
  device.SetClearColour(0xFF102030);

  // A texture in the default pool makes every reset fail until it is released.
  ComRef<IDirect3DTexture9> blocking;
  ASSERT_TRUE(
      SUCCEEDED(device.device()->CreateTexture(8, 8, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8,
                                               D3DPOOL_DEFAULT, blocking.Receive(), nullptr)));
  device.Resize(100, 50);
  EXPECT_EQ(device.Frame(step), 0);
  EXPECT_EQ(device.Frame(step), 0);
  EXPECT_EQ(step.runs, 0);

  blocking.Reset();
  EXPECT_EQ(device.Frame(step), D3D_OK);
  ASSERT_EQ(step.runs, 1);
  ASSERT_EQ(picture.width(), 100);
  ASSERT_EQ(picture.height(), 50);
  EXPECT_EQ(At(picture, 99, 25), (Texel{255, 0, 0, 255}));
  EXPECT_EQ(At(picture, 90, 0), (Texel{255, 0, 0, 255}));
  EXPECT_EQ(At(picture, 89, 25), (Texel{0x10, 0x20, 0x30, 255}));
}

TEST_F(D3d9BackendTest, MeshWritesOnlyLockedVerticesAndDrawsOnlyTrianglesOfItsVertices) {
  RenderDevice& device = RenderDevice::Instance();
  D3d9Graphics graphics(device);
  device.SetClearColour(0xFF000000);
  device.Resize(40, 20);
  std::unique_ptr<MeshPrimitive> mesh = graphics.CreateMesh(4, 6);
  mesh->SetPosition(0, {30.0f, 0.0f});  // not locked: ignored
  mesh->LockVertices();
  const Vec2 corners[4] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  for (int32_t i = 0; i < 4; ++i) mesh->SetPosition(i, corners[i]);
  mesh->SetPosition(4, {40.0f, 20.0f});  // outside the vertex count: ignored
  mesh->UnlockVertices();
  mesh->SetPosition(1, {40.0f, 0.0f});  // unlocked again: ignored
  // The second triangle names vertex 9 and is dropped; the third is beyond the index count.
  const uint16_t indices[9] = {0, 1, 2, 0, 2, 9, 0, 2, 3};
  mesh->SetIndices(indices);
  MatrixTransform identity;
  RgbaBitmap picture;
  Step step([&] {
    mesh->Draw(identity, kRed, identity);
    device.ReadBackBuffer(picture);
  });
  ASSERT_EQ(device.Frame(step), D3D_OK);
  ASSERT_EQ(picture.width(), 40);
  EXPECT_EQ(At(picture, 8, 2).r, 255);  // inside triangle 0, 1, 2
  EXPECT_EQ(At(picture, 2, 8).r, 0);    // inside 0, 2, 3: beyond the index count
  EXPECT_EQ(At(picture, 35, 2).r, 0);   // where the ignored positions would have reached
}

TEST(D3d9NoDeviceTest, FramesAndPrimitivesDoNothingAndImagesFail) {
  RenderDevice device;  // never created
  D3d9Graphics graphics(device);
  Step step([] {});
  EXPECT_EQ(device.Frame(step), 0);
  EXPECT_EQ(step.runs, 0);
  RgbaBitmap picture;
  EXPECT_FALSE(device.ReadBackBuffer(picture));

  MatrixTransform identity;
  graphics.CreateSolidQuad()->Draw(identity, kRed);
  std::unique_ptr<Sprite> sprite = graphics.CreateSprite();
  sprite->SetSize({4.0f, 4.0f});
  sprite->Draw(identity, kRed, identity);
  std::unique_ptr<MeshPrimitive> mesh = graphics.CreateMesh(3, 3);
  mesh->LockVertices();
  mesh->SetPosition(0, {1.0f, 1.0f});
  mesh->UnlockVertices();
  const uint16_t indices[3] = {0, 1, 2};
  mesh->SetIndices(indices);
  mesh->Draw(identity, kRed, identity);
  graphics.BeginMask(identity, {});
  graphics.EndMask();
  graphics.SetRenderState(RenderState::kZEnable, 1);

  RecordingServices services;
  services.files["dot.bmp"] = {'B', 'M', 0, 0};
  ComposedProvider provider(graphics);
  std::unique_ptr<ImageResource> image =
      provider.CreateImageResource(EncodedText::FromNarrow("dot.bmp"));
  image->Start();
  image->Poll();
  EXPECT_EQ(image->Poll(), LoadableResource::kFailed);

  std::unique_ptr<TextPrimitive> text = graphics.CreateTextPrimitive();
  const int32_t font = text->RegisterFont(EncodedText::FromUtf16(u"IPAGothic"), 16, false);
  GlyphEntry* glyph = text->GetGlyph(font, EncodedText::kUtf16, u'A');
  ASSERT_NE(glyph, nullptr);
  text->Flush();
  glyph->Draw(identity, kRed);
}

TEST_F(D3d9BackendTest, HitMaskIsTheImageAtItsOwnSize) {
  // Three pixels, transparent, opaque, transparent: stretched to a texture of four the opaque
  // one moves to the third texel, which a mask read from the texture would report.
  RecordingServices services;
  services.files["dots.png"] =
      ImageFile({0x00FF0000, 0xFF00FF00, 0x000000FF}, 3, 1, D3DFMT_A8R8G8B8, D3DXIFF_PNG);
  services.files["opaque.bmp"] =
      ImageFile({0x00FF0000, 0x00FF0000}, 2, 1, D3DFMT_X8R8G8B8, D3DXIFF_BMP);
  services.files["broken.png"] = {0x89, 'P', 'N', 'G', 0, 0, 0, 0};
  D3d9Graphics graphics(RenderDevice::Instance());
  ComposedProvider provider(graphics);
  auto load = [&](const char* name) {
    std::unique_ptr<ImageResource> image =
        provider.CreateImageResource(EncodedText::FromNarrow(name));
    image->Start();
    image->Poll();
    image->Poll();
    return image;
  };

  std::unique_ptr<ImageResource> dots = load("dots.png");
  ASSERT_TRUE(dots->done());
  EXPECT_EQ(dots->Size(), (ImageSize{3, 1}));
  EXPECT_FALSE(dots->HitTest(0, 0));
  EXPECT_TRUE(dots->HitTest(1, 0));
  EXPECT_FALSE(dots->HitTest(2, 0));
  EXPECT_FALSE(dots->HitTest(3, 0));

  std::unique_ptr<ImageResource> opaque = load("opaque.bmp");  // no alpha channel: all hits
  ASSERT_TRUE(opaque->done());
  EXPECT_TRUE(opaque->HitTest(0, 0));

  std::unique_ptr<ImageResource> broken = load("broken.png");
  EXPECT_EQ(broken->state(), LoadableResource::kFailed);
  EXPECT_EQ(broken->Size(), (ImageSize{}));
}

// The same glyph and metrics of the Japanese face whether its name is stored in Shift-JIS or in
// UTF-16: the Shift-JIS name is converted, not handed to the narrow call of an English system.
TEST(GdiFontTest, ShiftJisFaceNameOpensTheSameFaceAsItsUtf16Name) {
  const std::string name_utf8 = "ＭＳ ゴシック";
  std::unique_ptr<GlyphFont> sjis =
      GdiFont::Open(EncodedText::FromNarrow(Utf8ToCp932(name_utf8)), 16, false);
  std::unique_ptr<GlyphFont> wide =
      GdiFont::Open(EncodedText::FromUtf16(Utf8ToUtf16(name_utf8)), 16, false);
  std::unique_ptr<GlyphFont> ipa = GdiFont::Open(EncodedText::FromUtf16(u"IPAGothic"), 16, false);
  ASSERT_TRUE(sjis && wide && ipa);

  // 16 points at 96 dots per inch: a 21-pixel em; the cell holds ascent and descent.
  const FontMetrics metrics = ipa->Metrics();
  EXPECT_GE(metrics.height, 21);
  EXPECT_GT(metrics.ascent, 0);
  EXPECT_LT(metrics.ascent, metrics.height);

  GlyphBitmap from_sjis, from_wide, from_ipa;
  ASSERT_TRUE(sjis->Render(u'日', from_sjis));
  ASSERT_TRUE(wide->Render(u'日', from_wide));
  ASSERT_TRUE(ipa->Render(u'日', from_ipa));
  EXPECT_EQ(sjis->Metrics().height, metrics.height);
  EXPECT_EQ(sjis->Metrics().ascent, metrics.ascent);
  EXPECT_EQ(from_sjis.grey, from_ipa.grey);
  EXPECT_EQ(from_wide.grey, from_ipa.grey);
  EXPECT_EQ(from_ipa.box_width * from_ipa.box_height, from_ipa.grey.size());
  EXPECT_FALSE(from_ipa.grey.empty());
  EXPECT_EQ(GdiFont::Open(EncodedText(7, {}), 16, false), nullptr);  // unknown encoding
}

}  // namespace
}  // namespace cva::testing
