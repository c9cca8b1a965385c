#include "render/soft/glyphs/soft_text_primitive.h"

#include <array>

#include "render/freetype/freetype_font.h"
#include "render/matrix.h"
#include "render/soft/soft_provider.h"

namespace cva {
namespace {

// A page of a SoftTextPrimitive's atlas: the scratch page copied texel for texel.
class SoftGlyphPage final : public GlyphPageTexture {
 public:
  explicit SoftGlyphPage(const RgbaBitmap& page) : texture(page) {}
  const SoftTexture texture;
};

}  // namespace

SoftTextPrimitive::SoftTextPrimitive(SoftProvider& provider, GlyphAtlas::FontOpener opener)
    : provider_(provider), atlas_(std::move(opener), this, this) {}

SoftTextPrimitive::~SoftTextPrimitive() = default;

std::unique_ptr<GlyphFont> SoftTextPrimitive::OpenSystemFontOpener(const EncodedText& face,
                                                                   int32_t size, bool bold) {
  return OpenSystemFont(face, size, bold);
}

int32_t SoftTextPrimitive::RegisterFont(const EncodedText& face, int32_t point_size, bool bold) {
  return atlas_.RegisterFont(face, point_size, bold);
}

GlyphEntry* SoftTextPrimitive::GetGlyph(int32_t font, int32_t encoding, uint16_t code) {
  return atlas_.GetGlyph(font, encoding, code);
}

void SoftTextPrimitive::Flush() {
  atlas_.Flush();
}

const SoftTexture* SoftTextPrimitive::PageTexture(const AtlasGlyph& glyph) {
  // Every page of this primitive's atlas comes from Upload below.
  const auto* page = static_cast<const SoftGlyphPage*>(glyph.page());
  return page ? &page->texture : nullptr;
}

std::unique_ptr<GlyphPageTexture> SoftTextPrimitive::Upload(const RgbaBitmap& page) {
  return std::make_unique<SoftGlyphPage>(page);
}

void SoftTextPrimitive::DrawGlyph(const AtlasGlyph& glyph, const Transform& world, Colour colour) {
  // The sprite's vertices: the unit quad with texture coordinates c / page size + 1 (no
  // page: scale 0, so every corner samples nothing and the quad draws in plain colour).
  const int32_t page_size = glyph.page_size();
  const float scale = page_size > 0 ? 1.0f / static_cast<float>(page_size) : 0.0f;
  std::array<SoftVertex, 4> quad;
  const float corners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  for (size_t i = 0; i < quad.size(); ++i) {
    const float cx = corners[i][0];
    const float cy = corners[i][1];
    quad[i] = SoftVertex{cx, cy, scale * cx + 1.0f, scale * cy + 1.0f};
  }
  const Vec2 cell = glyph.Size();
  const Matrix4 cell_scale = Matrix4::Scaling(cell.x, cell.y, 1.0f);
  const Matrix4 placed = Multiply(cell_scale, SoftProvider::MatrixOf(world));
  Matrix4 texel_shift = Matrix4::Identity();
  texel_shift.m[2][0] = glyph.texel_origin().x;
  texel_shift.m[2][1] = glyph.texel_origin().y;
  const Matrix4 texture = Multiply(cell_scale, texel_shift);
  provider_.DrawFan(quad, placed, colour, PageTexture(glyph), texture);
}

void UseSoftGlyphs(SoftProvider& provider) {
  provider.SetTextFactory([](SoftProvider& p) -> std::unique_ptr<TextPrimitive> {
    return std::make_unique<SoftTextPrimitive>(p);
  });
}

}  // namespace cva
