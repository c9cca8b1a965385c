#include "scene/objects/text_instance.h"

#include "document/document.h"
#include "scene/objects/simple_objects.h"
#include "scene/property_record.h"
#include "scene/scene_node.h"
#include "scene/text/text_node.h"

namespace cva {
namespace {

float TimingOf(const TextObject& object) {
  return object.document() ? object.document()->header().frame_duration : 0.0f;
}

}  // namespace

TextInstance::TextInstance(TextObject& object, SceneNode& node)
    : object_(object),
      node_(node),
      reveal_(TimingOf(object)),
      jump_([this](const EncodedText& label) { Jump(label); }) {
  node_.display().AddProperty(kParagraphProperty);
}

TextInstance::~TextInstance() = default;

SceneObject& TextInstance::Definition() const {
  return object_;
}

Vec2 TextInstance::Size() const {
  const TextNode* text = object_.text_node();
  return text ? text->size() : Vec2{};
}

void TextInstance::Reset() {
  reveal_.Reset();
}

void TextInstance::Update(float dt) {
  const TextNode* text = object_.text_node();
  if (!text) return;
  const DisplayNode& display = node_.display();
  const PropertyTrack* track = display.track(kParagraphProperty);
  if (track && track->passed_key()) {
    if (const auto* fields = display.fields<kParagraphProperty>())
      reveal_.Select(fields->paragraph, *text, jump_);
  }
  reveal_.Advance(dt, *text, jump_);
}

void TextInstance::Draw() {
  TextNode* text = object_.text_node();
  if (!text) return;
  const DisplayNode& display = node_.display();
  text->Draw(display.world(), display.colour.Modulated(object_.record().colour),
             reveal_.paragraph(), reveal_.count());
}

Document* TextInstance::PlayingDocument() const {
  Document* document = object_.document();
  if (!document) return nullptr;
  const SceneNode* root = &node_;
  while (root->parent()) root = root->parent();
  if (document->root() == root) return document;
  for (Document* copy : document->copies())
    if (copy->root() == root) return copy;
  return nullptr;
}

void TextInstance::Jump(const EncodedText& label) {
  Document* document = PlayingDocument();
  if (!document) return;
  const int32_t id = document->label_names().Find(label);
  if (id >= 0) document->RequestLabel(id);
}

}  // namespace cva
