#pragma once

// Scene node records built byte by byte for tests.

#include <cstdint>
#include <string>
#include <vector>

#include "scene_bytes.h"

namespace cva::testing {

struct NodeSpec {
  int16_t id = 0;
  std::string name;
  int16_t object = -1;
  uint8_t inactive = 0;
  uint8_t controller = 0;  // 1: an empty controller record follows the labels
  int16_t label_count = 0;
  std::vector<uint8_t> labels;  // the label entries, without their count
  int16_t child_count = 0;      // the stored count; `children` are written after it
  std::vector<NodeSpec> children;
};

// An empty controller: no variables, no named handlers, a root handler node without
// children, conditions or else branch.
inline void WriteEmptyController(ByteWriter& out) {
  out.Short(0);
  out.Short(0);
  out.Short(0);
  out.Short(0);
  out.Byte(1);
}

inline void WriteNode(ByteWriter& out, const NodeSpec& node, bool names) {
  out.Short(node.id);
  if (names) WriteSjisText(out, node.name);
  out.Short(node.object);
  out.Byte(node.inactive);
  out.Byte(node.controller);
  out.Short(node.label_count);
  out.Bytes(node.labels);
  if (node.controller == 1) WriteEmptyController(out);
  out.Short(node.child_count);
  for (const NodeSpec& child : node.children) WriteNode(out, child, names);
}

// One label entry holding the given motions (each a key byte and a motion record).
inline std::vector<uint8_t> LabelBytes(int16_t label,
                                       const std::vector<std::vector<uint8_t>>& motions) {
  ByteWriter out;
  out.Short(label);
  out.Short(static_cast<int16_t>(motions.size()));
  for (const std::vector<uint8_t>& motion : motions) out.Bytes(motion);
  return out.Take();
}

// A motion entry: key byte, property 0, one depth keyframe per label index given (-1: no label).
inline std::vector<uint8_t> DepthMotionEntry(uint8_t key, const std::vector<int16_t>& indices) {
  ByteWriter out;
  out.Byte(key);
  out.Byte(0);
  out.Short(static_cast<int16_t>(indices.size()));
  for (int16_t index : indices) WriteDepthKey(out, KeyHead{index < 0 ? "" : "k", index, 2}, index);
  return out.Take();
}

// A motion entry: key byte, property 7, one colour keyframe with a linear ease point and a
// Hermite one, labelled with `index`.
inline std::vector<uint8_t> ColourMotionEntry(uint8_t key, int16_t index) {
  ByteWriter out;
  out.Byte(key);
  out.Byte(7);
  out.Short(1);
  KeyHead head{"c", index, 5};
  head.property = 7;
  WriteKeyHead(out, head);
  for (uint8_t b : {10, 20, 30, 40}) out.Byte(b);
  out.Byte(2);
  WriteFloats(out, {0.0f, 0.0f});
  out.Byte(1);
  WriteFloats(out, {1.0f, 1.0f});
  out.Byte(3);
  WriteFloats(out, {0.1f, 0.2f, 0.3f, 0.4f});
  return out.Take();
}

inline std::vector<uint8_t> Concat(std::vector<std::vector<uint8_t>> parts) {
  std::vector<uint8_t> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// root (1, label 1000: one depth motion with keyframe index 1)
//   first (2, object 5, inactive; label 1000: depth motion with indices 2 and none, colour
//          motion with index 3; label 2000: depth motion with index 4)
//     grandchild (4)
//   second (3, with an empty controller)
inline NodeSpec NamedNode(int16_t id, const std::string& name) {
  NodeSpec node;
  node.id = id;
  node.name = name;
  return node;
}

inline NodeSpec SampleTree() {
  NodeSpec first = NamedNode(2, "first");
  first.object = 5;
  first.inactive = 1;
  first.label_count = 2;
  first.labels = Concat({LabelBytes(1000, {DepthMotionEntry(0, {2, -1}), ColourMotionEntry(7, 3)}),
                         LabelBytes(2000, {DepthMotionEntry(0, {4})})});
  first.child_count = 1;
  first.children = {NamedNode(4, "grandchild")};
  NodeSpec second = NamedNode(3, "second");
  second.controller = 1;
  NodeSpec root = NamedNode(1, "root");
  root.label_count = 1;
  root.labels = LabelBytes(1000, {DepthMotionEntry(0, {1})});
  root.child_count = 2;
  root.children = {first, second};
  return root;
}

}  // namespace cva::testing
