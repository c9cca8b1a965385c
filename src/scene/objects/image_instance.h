#pragma once

#include <memory>

#include "render/primitives.h"
#include "scene/instance.h"

namespace cva {

class ImageObject;
class SceneNode;

// An image placed by a node. Adds the image properties to the node: 9 (image swap), 10 (hit
// mode), 11 (texture offset) and 12 (texture repeat). Draws the shown image object's sprite
// with the node's world matrix, the node's colour modulated by the image's own colour, and a
// texture transform that shifts the texture by property 11; with repeat counts other than 1 it
// draws one cell per repeat, mirroring every other column or row when asked, as long as the
// frame's cell budget lasts (CellBudget).
class ImageInstance final : public Instance {
 public:
  ImageInstance(ImageObject& object, SceneNode& node);
  ~ImageInstance() override;

  SceneObject& Definition() const override;
  // The size of the image object shown.
  Vec2 Size() const override;
  // Shows the instance's own image again and takes the texture offset.
  void Reset() override;
  void Draw() override;
  // Swaps the shown image when property 9 reached a keyframe, resolves the shown image once it
  // has loaded and takes the texture offset of property 11.
  void Update(float dt) override;

  // The image object whose sprite is drawn: the one property 9 chose last, else the
  // instance's own.
  ImageObject& Shown() const { return shown_ ? *shown_ : object_; }
  // The texture transform of the last update (a shift by property 11's offset).
  const Transform& texture_transform() const { return *texture_; }
  // The extent of the shown image in texture coordinates (its size over the texture's pixel
  // size), (0, 0) while it has no texture. Mirrored cells are shifted back by it.
  Vec2 TextureExtent() const;

 private:
  // The image object that property 9's value `id` selects: -1 the instance's own; an id that
  // names no image object of the document also leaves the own image shown.
  ImageObject* SwapTarget(int32_t id) const;
  // Draws |cx| x |cy| cells of the shown image (one plain draw when both counts are 1).
  void DrawCells(ImageObject& shown);
  void TakeTextureOffset();

  ImageObject& object_;
  SceneNode& node_;
  ImageObject* shown_ = nullptr;  // null: the own image
  std::unique_ptr<Transform> texture_;
  // Scratch transforms of one cell.
  std::unique_ptr<Transform> cell_world_;
  std::unique_ptr<Transform> cell_texture_;
  std::unique_ptr<Transform> step_;
};

}  // namespace cva
