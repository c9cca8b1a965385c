#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "scene/instance.h"
#include "scene/node_record.h"
#include "scene/scene_node.h"

namespace cva {

class KeyframeTable;
class ResourceProvider;

// Creates the instance a node shows for the scene object `object_id` of its record, or null
// when the document has no such object. The document supplies it: it looks the id up in its
// object table and asks the object for an instance (CreateInstance), which adds the object
// type's properties to the node's display node.
using InstanceFactory = std::function<std::unique_ptr<Instance>(int16_t object_id, SceneNode&)>;

// What building a scene tree needs besides the records.
struct SceneTreeSources {
  explicit SceneTreeSources(ResourceProvider& provider, KeyframeTable* keyframes = nullptr,
                            InstanceFactory create_instance = {})
      : provider(provider), keyframes(keyframes), create_instance(std::move(create_instance)) {}

  ResourceProvider& provider;
  // Receives every keyframe with a label index (may be null).
  KeyframeTable* keyframes;
  // HOOK (object instances): when empty, nodes get no instance.
  InstanceFactory create_instance;
};

// The deepest scene tree that is built; deeper records are refused rather than recursed into.
inline constexpr int kMaxSceneTreeDepth = 256;

// Creates the scene tree of `root`, depth first, children in record order: per node its
// display node with properties 0 to 7 (the root also the on-load jump, property 8), its
// instance, its label table with its motions, and its children. Returns null with the reason
// in `error` when the tree is nested deeper than kMaxSceneTreeDepth.
std::unique_ptr<SceneNode> BuildSceneTree(const NodeRecord& root, const SceneTreeSources& sources,
                                          std::string& error);

}  // namespace cva
