#pragma once

#include <memory>

#include "render/primitives.h"
#include "scene/instance.h"

namespace cva {

class ImageObject;
class SceneNode;

// An image placed by a node. Adds the image properties to the node: 9 (image swap), 10 (hit
// mode), 11 (texture offset) and 12 (texture repeat). Draws the object's sprite with the
// node's world matrix, the node's colour modulated by the image's own colour, and a texture
// transform that shifts the texture by property 11.
class ImageInstance final : public Instance {
 public:
  ImageInstance(ImageObject& object, SceneNode& node);
  ~ImageInstance() override;

  SceneObject& Definition() const override;
  // The size of the image object shown.
  Vec2 Size() const override;
  void Reset() override;
  void Draw() override;
  // Resolves the image once it has loaded and takes the texture offset of property 11.
  void Update(float dt) override;

  // The texture transform of the last update (a shift by property 11's offset).
  const Transform& texture_transform() const { return *texture_; }

 private:
  // The image object whose sprite is drawn. Always the instance's own for now; swapping to
  // another image object by property 9 will choose it here.
  ImageObject& Shown() const { return object_; }
  // Draws the shown image once. Repeats and mirrors by property 12 will draw it once per cell
  // here, each cell with its own offset and texture transform.
  void DrawCells(ImageObject& shown);
  void TakeTextureOffset();

  ImageObject& object_;
  SceneNode& node_;
  std::unique_ptr<Transform> texture_;
};

}  // namespace cva
