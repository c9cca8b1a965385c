#include "render/d3d9/d3d9_text_primitive.h"

#include "render/d3d9/d3d9_draw.h"
#include "render/gdi/gdi_font.h"
#include "render/glyphs/page_packer.h"
#include "system/windows/com_ref.h"

namespace cva {
namespace {

// A page of a D3d9TextPrimitive's atlas: the scratch page copied texel for texel.
class D3d9GlyphPage final : public GlyphPageTexture {
 public:
  explicit D3d9GlyphPage(ComRef<IDirect3DTexture9> page) : texture(std::move(page)) {}
  const ComRef<IDirect3DTexture9> texture;
};

}  // namespace

D3d9TextPrimitive::D3d9TextPrimitive(RenderDevice& device, GlyphAtlas::FontOpener opener)
    : device_(device), sprite_(device), atlas_(std::move(opener), this, this) {
  sprite_.SetImage(nullptr);
  sprite_.SetSize({1.0f, 1.0f});
  sprite_.SetUvOffset({1.0f, 1.0f});
}

D3d9TextPrimitive::~D3d9TextPrimitive() = default;

std::unique_ptr<GlyphFont> D3d9TextPrimitive::OpenGdiFontOpener(const EncodedText& face,
                                                                int32_t size, bool bold) {
  return GdiFont::Open(face, size, bold);
}

int32_t D3d9TextPrimitive::RegisterFont(const EncodedText& face, int32_t point_size, bool bold) {
  return atlas_.RegisterFont(face, point_size, bold);
}

GlyphEntry* D3d9TextPrimitive::GetGlyph(int32_t font, int32_t encoding, uint16_t code) {
  return atlas_.GetGlyph(font, encoding, code);
}

void D3d9TextPrimitive::Flush() {
  atlas_.Flush();
}

IDirect3DTexture9* D3d9TextPrimitive::PageTexture(const AtlasGlyph& glyph) {
  // Every page of this primitive's atlas comes from Upload below.
  const auto* page = static_cast<const D3d9GlyphPage*>(glyph.page());
  return page ? page->texture.get() : nullptr;
}

std::unique_ptr<GlyphPageTexture> D3d9TextPrimitive::Upload(const RgbaBitmap& page) {
  // A full mip chain is allocated; only the top level is written, and only it is sampled.
  IDirect3DDevice9* d = device_.device();
  constexpr UINT kSide = PagePacker::kPageSide;
  ComRef<IDirect3DTexture9> texture;
  if (!d || page.width() != PagePacker::kPageSide || page.height() != PagePacker::kPageSide ||
      FAILED(d->CreateTexture(kSide, kSide, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                              texture.Receive(), nullptr)))
    return nullptr;
  D3DLOCKED_RECT locked{};
  if (FAILED(texture->LockRect(0, &locked, nullptr, 0))) return nullptr;
  // Texels in memory are blue, green, red, alpha; rows start `Pitch` bytes apart.
  for (int32_t y = 0; y < page.height(); ++y) {
    const uint8_t* rgba = page.Row(y);
    auto* bgra = static_cast<uint8_t*>(locked.pBits) + static_cast<size_t>(y) * locked.Pitch;
    for (int32_t x = 0; x < page.width(); ++x, rgba += 4, bgra += 4) {
      bgra[0] = rgba[2];
      bgra[1] = rgba[1];
      bgra[2] = rgba[0];
      bgra[3] = rgba[3];
    }
  }
  texture->UnlockRect(0);
  return std::make_unique<D3d9GlyphPage>(std::move(texture));
}

void D3d9TextPrimitive::DrawGlyph(const AtlasGlyph& glyph, const Transform& world, Colour colour) {
  // With the unit quad, uv offset (1, 1) and the page's side s, the texture coordinates are
  // c / s + 1; through scale(cell) x shift(origin) they become c x cell / s + cell + origin,
  // which under wrap addressing samples exactly the cell. Without a page the quad is drawn in
  // the plain colour.
  const Vec2 cell = glyph.Size();
  const Matrix4 cell_scale = Matrix4::Scaling(cell.x, cell.y, 1.0f);
  const Matrix4 placed = Multiply(cell_scale, d3d9::MatrixOf(world));
  Matrix4 texel_shift = Matrix4::Identity();
  texel_shift.m[2][0] = glyph.texel_origin().x;
  texel_shift.m[2][1] = glyph.texel_origin().y;
  const Matrix4 texture = Multiply(cell_scale, texel_shift);
  const int32_t side = glyph.page_size();
  sprite_.DrawWithTexture(PageTexture(glyph), side, side, placed, colour, texture);
}

}  // namespace cva
