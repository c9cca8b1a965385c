#pragma once

// Documents built from node records, for tests that run whole passes over a scene.

#include <string>
#include <utility>
#include <vector>

#include "controller_rig.h"
#include "document/document_file.h"
#include "scene/node_record.h"

namespace cva::testing {

inline NodeRecord NodeWith(int16_t id, std::vector<NodeRecord> children = {}) {
  NodeRecord r;
  r.id = id;
  r.children.items = std::move(children);
  return r;
}

inline NodeRecord WithController(NodeRecord node, HandlerNodeRecord root) {
  node.has_controller = Flag(true);
  node.controller.root = std::move(root);
  return node;
}

// Builds `document` with the scene tree `root`; false when the build fails.
inline bool BuildScene(Document& document, NodeRecord root) {
  DocumentFile file;
  file.root = std::move(root);
  std::string error;
  return document.Build(std::move(file), DocumentNesting{}, error);
}

// The first node with `id` in pre-order, or null.
inline SceneNode* FindNode(SceneNode* node, int32_t id) {
  if (!node || node->id() == id) return node;
  for (const auto& child : node->children())
    if (SceneNode* found = FindNode(child.get(), id)) return found;
  return nullptr;
}

}  // namespace cva::testing
