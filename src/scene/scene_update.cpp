// The per-frame update of a scene: clock, tracks, transforms and the on-load jump.
#include <bit>
#include <cmath>
#include <memory>

#include "document/document.h"
#include "document/loadable_resource.h"
#include "render/primitives.h"
#include "scene/display_node.h"
#include "scene/property_value.h"
#include "scene/scene.h"
#include "scene/scene_node.h"
#include "scene/scene_transform.h"

namespace cva {

void Scene::Update(float dt, const Transform& root_parent) {
  draw_list_.Clear();
  SceneNode* top = root();
  if (!top) return;
  // The clock only moves forward: a negative or non-finite step would stall it for good.
  if (!std::isfinite(dt) || dt < 0.0f) dt = 0.0f;
  time_ += dt;
  frame_ = FrameAt(time_, document_.header().frame_duration);
  advance_length_ = frame_length();
  UpdateTree(*top, dt, root_parent, true, true);
  draw_list_.Finish();
}

// One walk does both jobs of a frame, so that each node is fetched from memory once: it updates
// the nodes that are neither suspended nor inactive (a frozen node's children still are) and
// collects the draw list (a hidden node is skipped with its subtree; a node that is not drawn
// is left out, but its children are still visited). A node is collected right after its own
// update, so it goes in with this frame's depth and visibility.
// Scene trees are at most kMaxSceneTreeDepth deep, so the recursion is bounded.
void Scene::UpdateTree(SceneNode& node, float dt, const Transform& root_parent, bool update,
                       bool collect) {
  update = update && !node.suspended && !node.inactive;
  collect = collect && !node.hidden;
  if (!update && !collect) return;
  if (update && !node.frozen) UpdateNode(node, dt, root_parent);
  if (collect && node.display().visibility != DisplayNode::kNotDrawn) draw_list_.Add(node);
  const std::vector<std::unique_ptr<SceneNode>>& children = node.children();
  const size_t count = children.size();
  for (size_t i = 0; i < count; ++i) {
    // Siblings lie apart in memory and each reads data behind a chain of pointers, so the
    // data of the next few siblings is requested in stages ahead of their turn.
    if (i + 3 < count) children[i + 3]->PrefetchFields();
    if (i + 2 < count) children[i + 2]->display().PrefetchTracksAndValues();
    UpdateTree(*children[i], dt, root_parent, update, collect);
  }
}

void Scene::UpdateNode(SceneNode& node, float dt, const Transform& root_parent) {
  DisplayNode& display = node.display();
  const bool is_root = node.parent() == nullptr;

  node.changed = false;
  if (const PositionValue* position = display.fields<2>()) {
    display.previous_position = position->position;
  }
  on_load_key_reached_ = false;
  // Only tracks with a motion (and those that just lost theirs) do anything when advanced;
  // they go in property order.
  for (uint32_t pending = display.track_flags().advancing; pending != 0; pending &= pending - 1) {
    if (display.track_with_motion(std::countr_zero(pending)).Advance(advance_length_, dt, this))
      node.changed = true;
  }
  if (node.changed) BuildLocalMatrix(display, *scratch_);

  if (is_root) {
    if (on_load_key_reached_) RunOnLoadJump();
    CombineRoot(display, root_parent);
  } else {
    if (node.parent()->changed) node.changed = true;
    CombineWithParent(node, *scratch_);
  }
  if (Instance* instance = node.instance()) instance->Update(dt);
}

void Scene::KeyframeReached(PropertyTrack& track, const Keyframe&) {
  SceneNode* top = root();
  if (top && &track == top->display().track(kOnLoadJumpProperty)) {
    on_load_key_reached_ = true;
  }
}

void Scene::MotionFinished(PropertyTrack&) {}

void Scene::RunOnLoadJump() {
  const OnLoadJumpValue* jump = root()->display().fields<kOnLoadJumpProperty>();
  if (!jump) return;
  bool all_done = true;
  if (jump->check_all) {
    for (const auto& [id, resource] : document_.resources()) {
      if (resource->Kind() == ResourceKind::kDocument && !resource->done()) all_done = false;
    }
  } else {
    for (const ResourceIdEntry& entry : jump->resources.items) {
      LoadableResource* resource = document_.resources().Find(entry.id);
      if (!resource || resource->Poll() != LoadableResource::kDone) {
        all_done = false;
        break;
      }
    }
  }
  RequestLabel(all_done ? jump->label_loaded : jump->label_otherwise);
}

}  // namespace cva
