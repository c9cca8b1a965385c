#include "scene/scene.h"

#include <cmath>
#include <limits>

#include "document/document.h"
#include "document/resource_provider.h"
#include "render/primitives.h"
#include "scene/display_node.h"
#include "scene/label_table.h"
#include "scene/scene_label_listener.h"
#include "scene/scene_node.h"

namespace cva {
namespace {

// Gives every track of `node` and its subtree (pre-order) the motion it plays from `label`.
// Scene trees are at most kMaxSceneTreeDepth deep, so the recursion is bounded.
void StartLabelMotions(SceneNode& node, int32_t label) {
  if (const MotionSet* set = node.labels().Find(label)) {
    for (const auto& [key, motion] : *set) {
      if (!motion) continue;
      if (PropertyTrack* track = node.display().track(motion->property())) {
        track->SetMotion(motion.get());
      }
    }
  }
  for (const std::unique_ptr<SceneNode>& child : node.children()) StartLabelMotions(*child, label);
}

}  // namespace

Scene::Scene(Document& document)
    : document_(document),
      scratch_(document.provider().CreateTransform()),
      mask_matrix_(document.provider().CreateTransform()) {}

Scene::~Scene() = default;

SceneNode* Scene::root() const {
  return document_.root();
}

float Scene::frame_length() const {
  const float duration = document_.header().frame_duration;
  return std::isfinite(duration) && duration > 0.0f ? duration : 0.0f;
}

int32_t Scene::FrameAt(float time, float duration) {
  if (!std::isfinite(duration) || duration <= 0.0f || !std::isfinite(time)) return 0;
  const double frames = std::trunc(static_cast<double>(time) / static_cast<double>(duration));
  if (frames >= static_cast<double>(std::numeric_limits<int32_t>::max())) {
    return std::numeric_limits<int32_t>::max();
  }
  if (frames <= static_cast<double>(std::numeric_limits<int32_t>::min())) {
    return std::numeric_limits<int32_t>::min();
  }
  return static_cast<int32_t>(frames);
}

std::vector<SceneNode*> Scene::DrawOrder() const {
  std::vector<SceneNode*> order;
  order.reserve(draw_list_.size());
  for (size_t i = 0; i < draw_list_.size(); ++i) order.push_back(draw_list_.at(i));
  return order;
}

void Scene::RequestLabel(int32_t label) {
  document_.RequestLabel(label);
}

void Scene::RunQueuedJumps() {
  // Jumps requested while these run wait for the next call.
  for (int32_t label : document_.TakeQueuedLabels()) GotoLabel(label);
}

void Scene::GotoLabel(int32_t label) {
  current_label_ = label;
  SceneNode* top = root();
  if (!top) return;
  if (PropertyTrack* on_load = top->display().track(kOnLoadJumpProperty)) {
    on_load->SetMotion(nullptr);
  }
  StartLabelMotions(*top, label);
  if (label_listener_) {
    const EncodedText* name = label >= INT16_MIN && label <= INT16_MAX
                                  ? document_.label_names().NameOf(static_cast<int16_t>(label))
                                  : nullptr;
    label_listener_->LabelEntered(label, name);
  }
}

void Scene::Seek(const Transform& root_parent) {
  SceneNode* top = root();
  if (!top) {
    draw_list_.Clear();
    return;
  }
  // The time of the whole frames played so far.
  advance_length_ = frame_length();
  const float dt = static_cast<float>(frame_) * advance_length_;
  SeekTree(*top, false, dt, root_parent);
  draw_list_.Rebuild(top);
}

// Scene trees are at most kMaxSceneTreeDepth deep, so the recursion is bounded.
void Scene::SeekTree(SceneNode& node, bool parent_hidden, float dt, const Transform& root_parent) {
  node.hidden = node.inactive || parent_hidden;
  if (!node.hidden) {
    node.display().ResetTracks();
    if (Instance* instance = node.instance()) instance->Reset();
    UpdateNode(node, dt, root_parent);
  }
  // Descendants of a hidden node are visited only to mark them hidden too.
  for (const std::unique_ptr<SceneNode>& child : node.children()) {
    SeekTree(*child, node.hidden, dt, root_parent);
  }
}

}  // namespace cva
