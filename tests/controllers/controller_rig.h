#pragma once

// Test helpers for node controllers and hit tests: a provider with real matrices, images with
// an opacity mask, instances of a chosen extent, and short builders for handler records.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "document/composed_provider.h"
#include "document/document.h"
#include "scene/controller/controller_context.h"
#include "scene/controller/handler_record.h"
#include "scene/controller/handler_tree.h"
#include "scene/embedded_view.h"
#include "scene/instance.h"
#include "scene/objects/simple_objects.h"
#include "scene/objects/textured_objects.h"
#include "scene/scene.h"
#include "scene/scene_node.h"
#include "stream/text_conversion.h"

namespace cva::testing {

// An image of a given pixel size whose opacity is a function of the pixel.
class MaskedImage final : public InertImage {
 public:
  using Opaque = std::function<bool(int32_t, int32_t)>;
  MaskedImage(ResourceProvider& provider, ImageSize size, Opaque opaque)
      : InertImage(provider, EncodedText::FromNarrow("image")),
        size_(size),
        opaque_(std::move(opaque)) {}

  ImageSize Size() const override { return size_; }
  bool HitTest(int32_t x, int32_t y) const override {
    asked.emplace_back(x, y);
    return opaque_(x, y);
  }
  mutable std::vector<std::pair<int32_t, int32_t>> asked;

 private:
  ImageSize size_;
  Opaque opaque_;
};

// Draws nothing, computes with real matrices and keeps what the controllers print.
class RigProvider final : public ComposedProvider {
 public:
  RigProvider() { set_debug_output(false); }
};

// Shows a scene object with a fixed extent.
class SizedInstance : public Instance {
 public:
  SizedInstance(SceneObject& definition, Vec2 size) : definition_(definition), size_(size) {}
  SceneObject& Definition() const override { return definition_; }
  Vec2 Size() const override { return size_; }
  void Reset() override {}
  void Draw() override {}
  void Update(float) override {}

 private:
  SceneObject& definition_;
  Vec2 size_;
};

// Shows another document's scene, or nothing while `document` is null.
class EmbeddedInstance final : public SizedInstance, public EmbeddedView {
 public:
  EmbeddedInstance(SceneObject& definition, Vec2 size) : SizedInstance(definition, size) {}
  Document* EmbeddedDocument() const override { return document; }
  Scene* EmbeddedScene() const override { return scene; }
  Document* document = nullptr;
  Scene* scene = nullptr;
};

// Handler record builders.
inline OperandRecord Int(int32_t value, uint8_t mode = 0) {
  OperandRecord r;
  r.type = 1;
  r.mode = mode;
  r.value = value;
  return r;
}
inline OperandRecord TextOperand(const std::string& text) {
  OperandRecord r;
  r.type = 6;
  r.text = StoredText::From(EncodedText::FromNarrow(text));
  return r;
}
inline OperandRecord VariableOperand(uint8_t type, uint8_t scope, int16_t id, int32_t mask = 0,
                                     uint8_t mode = 0) {
  OperandRecord r;
  r.type = type;
  r.mode = mode;
  r.variable = {scope, id};
  r.mask = mask;
  return r;
}
inline OperandRecord PropertyOperand(uint8_t property, int32_t component, uint8_t mode = 0) {
  OperandRecord r;
  r.type = 8;
  r.mode = mode;
  r.property = property;
  r.component = component;
  return r;
}
inline OperandRecord KeyframeOperand(int32_t label, int32_t component) {
  OperandRecord r;
  r.type = 9;
  r.label = label;
  r.component = component;
  return r;
}
inline HandlerRecord Handler(std::vector<OperandRecord> operands, bool enabled = true) {
  HandlerRecord r;
  r.enabled = Flag(enabled);
  r.operands.items = std::move(operands);
  r.operands.stored_count = static_cast<int32_t>(r.operands.items.size());
  return r;
}
inline ConditionEntry Cond(uint8_t type, std::vector<OperandRecord> operands = {},
                           bool enabled = true) {
  return {type, Handler(std::move(operands), enabled)};
}
inline HandlerChildEntry Act(uint8_t type, std::vector<OperandRecord> operands = {},
                             bool enabled = true) {
  HandlerChildEntry e;
  e.kind = 3;
  e.action = type;
  e.handler = Handler(std::move(operands), enabled);
  return e;
}
inline HandlerNodeRecord Node(std::vector<ConditionEntry> conditions,
                              std::vector<HandlerChildEntry> children,
                              std::optional<HandlerNodeRecord> else_node = std::nullopt) {
  HandlerNodeRecord r;
  r.conditions.items = std::move(conditions);
  r.children.items = std::move(children);
  if (else_node) {
    r.else_marker = HandlerNodeRecord::kElsePresent;
    r.else_node.emplace() = std::move(*else_node);
  }
  return r;
}
inline HandlerChildEntry Nested(HandlerNodeRecord node) {
  HandlerChildEntry e;
  e.kind = 0;
  e.node.emplace() = std::move(node);
  return e;
}
// Action 0: asks for `label`; the test's probe of which branches ran.
inline HandlerChildEntry Jump(int32_t label) {
  return Act(0, {Int(label)});
}

// A document with a root node and one child to run handlers on.
struct ControllerRig {
  RigProvider provider;
  Document document{EncodedText::FromNarrow("doc"), provider};
  RectObject rect;  // shown by placed nodes; outlives them
  SceneNode root{0, provider};
  SceneNode* node = &root.AddChild(std::make_unique<SceneNode>(1, provider));
  VariableTable own_variables;
  ControllerInput input;

  ControllerContext Context(SceneNode& target) { return {target, document, own_variables, input}; }
  ControllerContext Context() { return Context(*node); }
  // Runs `record` on the node and returns the labels it asked for (emptying the queue).
  std::vector<int32_t> Run(const HandlerNodeRecord& record) {
    HandlerNode tree(record, nullptr);
    ControllerContext context = Context();
    tree.Evaluate(context);
    return document.TakeQueuedLabels();
  }
  // Whether one condition holds, tested as the only condition of a node.
  bool Holds(const ConditionEntry& condition) { return !Run(Node({condition}, {Jump(1)})).empty(); }
  // Gives `target` a rectangle instance of `size` placed at `at`.
  void Place(SceneNode& target, Vec2 at, Vec2 size) {
    target.set_instance(std::make_unique<SizedInstance>(rect, size));
    target.display().world().SetTranslation(at);
  }
};

}  // namespace cva::testing
