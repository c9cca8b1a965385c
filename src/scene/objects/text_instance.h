#pragma once

#include "scene/instance.h"
#include "scene/objects/text_reveal.h"

namespace cva {

class Document;
class SceneNode;
class TextObject;

// A text placed by a node. Adds property 17 (the paragraph shown) to the node and reveals the
// paragraph glyph by glyph (TextReveal, timed by the document's frame duration): a keyframe of
// property 17 selects its paragraph and restarts the reveal; the commands the reveal reaches
// change its pace or jump the document's playback to a label. Draws the object's text with the
// node's world matrix in the node's colour modulated by the text object's own colour.
class TextInstance final : public Instance {
 public:
  TextInstance(TextObject& object, SceneNode& node);
  ~TextInstance() override;

  SceneObject& Definition() const override;
  // The measured size of the laid-out text.
  Vec2 Size() const override;
  void Reset() override;
  void Draw() override;
  void Update(float dt) override;

  const TextReveal& reveal() const { return reveal_; }

 private:
  // The document whose scene holds the node: the object's own, or the playback copy of it
  // that an embedded scene plays (they share the object). Null when neither holds it.
  Document* PlayingDocument() const;
  // Queues a jump of the playing document to the label called `label` (unknown names are
  // ignored).
  void Jump(const EncodedText& label);

  TextObject& object_;
  SceneNode& node_;
  TextReveal reveal_;
  TextReveal::JumpSink jump_;
};

}  // namespace cva
