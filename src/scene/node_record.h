#pragma once

// The stored form of the scene tree: the record of one scene node and, depth first, its
// children.

#include <cstdint>

#include "scene/controller_record.h"
#include "scene/motion.h"
#include "stream/record_fields.h"

namespace cva {

// One motion of a label's motion set, under the key byte that orders the set. The motion's own
// property index chooses the track that plays it.
struct MotionEntry {
  uint8_t key = 0;
  MotionRecord motion;

  template <class V>
  void Visit(V& v) {
    v.Byte("key", key);
    v.Record("motion", motion);
  }
};

// What a node plays from one label on.
struct LabelRecord {
  int16_t label = 0;
  CountedList<MotionEntry> motions;

  template <class V>
  void Visit(V& v) {
    v.Short("label", label);
    v.List("motions", motions);
  }
};

struct NodeRecord {
  int16_t id = -1;
  StoredText name;      // stored only when the document's node-names flag is set
  int16_t object = -1;  // id of the scene object the node places; none when not in the table
  Flag inactive;        // the node and its subtree are neither updated nor drawn
  Flag has_controller;
  CountedList<LabelRecord> labels;
  ControllerRecord controller;  // stored only when has_controller is set
  CountedList<NodeRecord> children;

  template <class V>
  void Visit(V& v) {
    v.Short("id", id);
    if (v.context().node_names) v.Text("name", name);
    v.Short("object", object);
    v.Flag("inactive", inactive);
    v.Flag("has_controller", has_controller);
    v.List("labels", labels);
    if (has_controller.on()) v.Record("controller", controller);
    v.List("children", children);
  }
};

}  // namespace cva
