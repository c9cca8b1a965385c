#include "scene/objects/number_instance.h"

#include <algorithm>

#include "document/document.h"
#include "document/resource_provider.h"
#include "scene/objects/number_glyphs.h"
#include "scene/objects/simple_objects.h"
#include "scene/objects/textured_objects.h"
#include "scene/property_record.h"
#include "scene/property_value.h"
#include "scene/scene_node.h"

namespace cva {
namespace {}  // namespace

NumberInstance::NumberInstance(NumberObject& object, SceneNode& node)
    : object_(object), node_(node), glyph_world_(object.document()->provider().CreateTransform()) {
  node_.display().AddProperty(kNumberValueProperty);
  node_.display().AddProperty(kNumberFormatProperty);
}

NumberInstance::~NumberInstance() = default;

SceneObject& NumberInstance::Definition() const {
  return object_;
}

ImageObject* NumberInstance::GlyphImage(int entry) const {
  const int16_t id = object_.record().glyphs[static_cast<size_t>(entry)];
  if (id == -1 || !object_.document()) return nullptr;
  SceneObject* glyph = object_.document()->objects().Find(id);
  // Only image objects draw as glyphs; an id of another type counts as none.
  if (!glyph || glyph->TypeCode() != ObjectType::kImage) return nullptr;
  return static_cast<ImageObject*>(glyph);
}

std::vector<NumberInstance::Glyph> NumberInstance::Layout() const {
  std::vector<Glyph> glyphs;
  const DisplayNode& display = node_.display();
  const auto* value = FieldsOf<kNumberValueProperty>(display.holder(kNumberValueProperty));
  const auto* format = FieldsOf<kNumberFormatProperty>(display.holder(kNumberFormatProperty));
  if (!value || !format) return glyphs;
  const std::vector<int> entries = NumberGlyphEntries(value->value, *format);
  for (size_t position = 0; position < entries.size(); ++position) {
    ImageObject* image = GlyphImage(entries[position]);
    if (!image) continue;
    glyphs.push_back({entries[position], image,
                      NumberGlyphAdvance(*format, position, entries[position], image->size().x)});
  }
  return glyphs;
}

Vec2 NumberInstance::Size() const {
  Vec2 size;
  for (const Glyph& glyph : Layout()) {
    size.x += glyph.advance;
    size.y = std::max(size.y, glyph.image->size().y);
  }
  return size;
}

void NumberInstance::Update(float) {
  for (int entry = 0; entry < NumberRecord::kGlyphCount; ++entry) {
    if (ImageObject* image = GlyphImage(entry)) image->ResolveImage();
  }
}

void NumberInstance::Draw() {
  const std::vector<Glyph> glyphs = Layout();
  if (glyphs.empty()) return;
  const DisplayNode& display = node_.display();
  const auto* format = FieldsOf<kNumberFormatProperty>(display.holder(kNumberFormatProperty));
  float total = 0.0f;
  for (const Glyph& glyph : glyphs) total += glyph.advance;
  const uint8_t alignment = format->codes[0];
  float pen = alignment == 1 || alignment == 3 ? 0.0f : -total;
  const Colour colour = display.colour.Modulated(object_.record().colour);
  for (auto it = glyphs.rbegin(); it != glyphs.rend(); ++it) {
    ImageObject& image = *it->image;
    if (Sprite* sprite = image.sprite()) {
      glyph_world_->SetTranslation(pen, -image.size().y);
      glyph_world_->PostMultiply(display.world());
      sprite->DrawPlain(*glyph_world_, colour.Modulated(image.record().colour));
    }
    pen += it->advance;
  }
}

}  // namespace cva
