#pragma once

#include <memory>
#include <vector>

#include "render/primitives.h"
#include "scene/instance.h"

namespace cva {

class ImageObject;
class NumberObject;
class SceneNode;

// An integer shown with image objects as glyphs. Adds properties 13 (the value) and 14 (the
// format) to the node. The glyphs are laid out from left to right, most significant first,
// with their bottoms on the node's origin line; the number starts at the origin when the
// format's first code is 1 or 3 and ends there otherwise.
class NumberInstance final : public Instance {
 public:
  // One glyph as drawn: its entry (0 to 11), its image object and its advance.
  struct Glyph {
    int entry = 0;
    ImageObject* image = nullptr;
    float advance = 0.0f;
  };

  NumberInstance(NumberObject& object, SceneNode& node);
  ~NumberInstance() override;

  SceneObject& Definition() const override;
  // The total advance by the tallest glyph.
  Vec2 Size() const override;
  void Reset() override {}
  // Draws the glyphs of Layout() from left to right.
  void Draw() override;
  // Resolves the glyph images that have loaded since.
  void Update(float dt) override;

  // The glyphs that show the current value, least significant first; entries that name no
  // image object are left out.
  std::vector<Glyph> Layout() const;

 private:
  // The image object of glyph entry `entry`, or null when it names none.
  ImageObject* GlyphImage(int entry) const;

  NumberObject& object_;
  SceneNode& node_;
  std::unique_ptr<Transform> glyph_world_;
};

}  // namespace cva
