#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

#include "scene/display_node.h"
#include "scene/instance.h"
#include "scene/label_table.h"
#include "scene/node_pool.h"
#include "scene/prefetch.h"
#include "stream/encoded_text.h"

namespace cva {

class NodeController;
class ResourceProvider;

// One node of a scene tree: it places at most one scene object through its instance, animates
// it through its display node and knows what to play from each label. Owns its children, its
// instance and its display node.
class SceneNode {
 public:
  SceneNode(int32_t id, ResourceProvider& provider);
  ~SceneNode();
  SceneNode(const SceneNode&) = delete;
  SceneNode& operator=(const SceneNode&) = delete;

  // Nodes come from the node pool, in the order trees are built (see scene/node_pool.h).
  static void* operator new(std::size_t bytes) {
    return NodePool::Allocate(bytes, __STDCPP_DEFAULT_NEW_ALIGNMENT__);
  }
  static void* operator new(std::size_t bytes, std::align_val_t alignment) {
    return NodePool::Allocate(bytes, static_cast<std::size_t>(alignment));
  }
  static void operator delete(void* node, std::size_t bytes) {
    NodePool::Free(node, bytes, __STDCPP_DEFAULT_NEW_ALIGNMENT__);
  }
  static void operator delete(void* node, std::size_t bytes, std::align_val_t alignment) {
    NodePool::Free(node, bytes, static_cast<std::size_t>(alignment));
  }

  int32_t id() const { return id_; }
  const EncodedText& name() const { return name_; }
  void set_name(EncodedText name) { name_ = std::move(name); }

  SceneNode* parent() const { return parent_; }
  const std::vector<std::unique_ptr<SceneNode>>& children() const { return children_; }
  // Appends `child` to the children and makes this node its parent.
  SceneNode& AddChild(std::unique_ptr<SceneNode> child);

  // A hint for the processor to load the fields a frame reads first; changes nothing.
  void PrefetchFields() const {
    PrefetchForRead(this);
    display_.PrefetchFields();
  }

  DisplayNode& display() { return display_; }
  const DisplayNode& display() const { return display_; }
  Instance* instance() const { return instance_.get(); }
  void set_instance(std::unique_ptr<Instance> instance) { instance_ = std::move(instance); }
  const LabelTable& labels() const { return labels_; }
  void set_labels(LabelTable labels) { labels_ = std::move(labels); }
  // The node's rule program, run once per frame by the controller pass (null: none).
  NodeController* controller() const { return controller_.get(); }
  bool has_controller() const { return controller_ != nullptr; }
  void set_controller(std::unique_ptr<NodeController> controller);

  // Read from the record: the node and its subtree are neither updated nor drawn.
  bool inactive = false;
  // Set by controller actions: the node's own update is skipped, its children's is not.
  bool frozen = false;
  // Set by controller actions: neither the node nor its children are updated.
  bool suspended = false;
  // Computed when the scene seeks: inactive, or the parent is hidden.
  bool hidden = false;
  // Some track of this node or of an ancestor produced a value this frame.
  bool changed = false;
  // Set by the pointer pass for the nodes of the draw list: 0 not under the pointer, 1 under it
  // and topmost, 2 under it but covered (see scene/hit/hit_test.h).
  int32_t hit_state = 0;
  // Links of the draw list, rebuilt every frame.
  SceneNode* draw_prev = nullptr;
  SceneNode* draw_next = nullptr;

 private:
  // What a frame reads of the node itself shares the first cache line with the flags and
  // links above, then comes the display node; what is read at load and by rules comes last.
  SceneNode* parent_ = nullptr;
  // The destructor releases the instance before the display node: an instance may refer to
  // the properties it added to the display node.
  std::unique_ptr<Instance> instance_;
  std::vector<std::unique_ptr<SceneNode>> children_;
  int32_t id_;
  std::unique_ptr<NodeController> controller_;
  DisplayNode display_;
  // Tracks keep pointers to the motions of the labels but do not use them when destroyed.
  LabelTable labels_;
  EncodedText name_;
};

}  // namespace cva
