#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "captured_message.h"
#include "render/colour.h"
#include "render/record/draw_record.h"
#include "render/vec2.h"
#include "scene/property_record.h"
#include "scene/text/text_layout.h"
#include "sound/sound_call.h"

namespace cva::trace {

// The 2D part of a matrix in the row-vector convention: (x, y) goes to
// (x * a + y * c + e, x * b + y * d + f).
struct Affine {
  float a = 1.0f, b = 0.0f, c = 0.0f, d = 1.0f, e = 0.0f, f = 0.0f;
  static Affine Of(const Matrix4& matrix) {
    return {matrix.m[0][0], matrix.m[0][1], matrix.m[1][0],
            matrix.m[1][1], matrix.m[3][0], matrix.m[3][1]};
  }
  // A texture transform: texture coordinates enter as (u, v, 1, 0), so the third row is the
  // one that shifts them.
  static Affine OfTexture(const Matrix4& matrix) {
    return {matrix.m[0][0], matrix.m[0][1], matrix.m[1][0],
            matrix.m[1][1], matrix.m[2][0], matrix.m[2][1]};
  }
  friend bool operator==(const Affine&, const Affine&) = default;
};

// Where a joint sits after the meshes linked their joint trees: the mesh that linked it, its
// parent joint and its child joints, as object ids (-1 for none).
struct JointTrace {
  int32_t owner = -1;
  int32_t parent = -1;
  std::vector<int32_t> children;
};

// The laid-out text of a text instance and how far its reveal has come.
struct TextTrace {
  int32_t paragraph = -1;  // the paragraph the reveal shows (-1 before the first is selected)
  int32_t revealed = 0;    // glyphs of it revealed
  std::vector<RegisteredFont> fonts;
  // The layout; its glyph pointers are copied along but never followed.
  std::vector<TextParagraph> paragraphs;
  // Commands no glyph followed.
  std::vector<TextCommand> pending;
};

// One scene node after a frame.
struct NodeTrace {
  int32_t id = -1;
  std::optional<std::string> name;  // UTF-8, when the document stores node names
  bool inactive = false;
  bool hidden = false;
  bool frozen = false;
  bool suspended = false;
  int32_t visibility = 0;
  int32_t depth = 0;
  Colour colour;
  Affine world;
  // The corners of the node's extent on the stage; none for a node without an instance.
  std::optional<std::array<Vec2, 4>> outline;
  int32_t hit_state = 0;
  // The object the node places, -1 for none.
  int32_t object = -1;

  // Filled only when the trace asks for property values: every property the node holds, as
  // held (the alternative's index is the property index), ...
  std::vector<PropertyValueRecord> properties;
  // ... the image object an image instance shows after swaps, ...
  std::optional<int32_t> shown_object;
  // ... and the links of a joint.
  std::optional<JointTrace> joint;
  // Filled only when the trace asks for text layout, for text instances.
  std::optional<TextTrace> text;
};

// One variable of a scope: the document's, a node controller's own or the process's.
struct VariableTrace {
  enum class Scope : uint8_t { kDocument, kController, kProcess };
  Scope scope = Scope::kDocument;
  // The node whose controller owns the variable (kController only), else -1.
  int32_t node = -1;
  int32_t id = 0;
  int32_t value = 0;
};

// A label the scene jumped to.
struct JumpTrace {
  int32_t label = -1;
  std::optional<std::string> name;  // UTF-8, when the label-name table names it
};

// A message box the player showed (the trace shows it instead of a window).
using MessageTrace = session::CapturedMessage;

// Everything one frame of a trace observed, after the frame has run.
struct FrameTrace {
  // Frames of the trace, from 0 for the frame in which the document became current.
  int32_t frame = 0;
  // Milliseconds the host was advanced by in this frame.
  float step = 0.0f;
  // The scene's clock after the frame.
  float time = 0.0f;
  int32_t scene_frame = 0;
  int32_t label = -1;
  std::optional<std::string> label_name;
  std::vector<JumpTrace> jumps;
  // The pointer as the controllers saw it in this frame.
  Vec2 pointer;
  int32_t buttons = 0;
  int32_t pressed = 0;
  bool moved = false;
  // Pre-order, from the root.
  std::vector<NodeTrace> nodes;
  std::vector<VariableTrace> variables;
  // Ids of the nodes of the draw list, first drawn first.
  std::vector<int32_t> draw_list;
  // What the frame drew, in call order (draws, render-state applies, mask groups).
  std::vector<DrawRecord> draws;
  // Calls made on sound streams during the frame (volume, pan, play, stop), in call order.
  std::vector<SoundCall> sounds;
  // Texts the controllers printed (action 11) and message boxes shown during the frame.
  std::vector<std::string> debug;
  std::vector<MessageTrace> messages;

  // The node with `id`, or null.
  const NodeTrace* Node(int32_t id) const {
    for (const NodeTrace& node : nodes)
      if (node.id == id) return &node;
    return nullptr;
  }
  // The value of a variable, or none when the scope has no such variable.
  std::optional<int32_t> Variable(VariableTrace::Scope scope, int32_t id, int32_t node = -1) const {
    for (const VariableTrace& v : variables)
      if (v.scope == scope && v.id == id && v.node == node) return v.value;
    return std::nullopt;
  }
};

}  // namespace cva::trace
