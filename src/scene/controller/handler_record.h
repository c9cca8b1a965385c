#pragma once

// Stored handler trees of node controllers: handler nodes with their conditions, children
// (actions and nested handler nodes) and an optional else branch. Nesting is bounded by the
// reading visitor, which refuses records nested too deeply.

#include <cstdint>
#include <string>

#include "scene/controller/boxed.h"
#include "scene/controller/operand_record.h"
#include "scene/objects/record_helpers.h"
#include "stream/record_fields.h"

namespace cva {

// A condition or an action: enabled flag and operands (with a 32-bit count).
struct HandlerRecord {
  Flag enabled;
  IntCountedList<OperandRecord> operands;

  template <class V>
  void Visit(V& v) {
    v.Flag("enabled", enabled);
    VisitIntCountedList(v, "operand_count", "operands", operands);
  }
};

// A condition: its type, then its handler record.
struct ConditionEntry {
  uint8_t condition = 0;
  HandlerRecord handler;

  template <class V>
  void Visit(V& v) {
    v.Byte("condition", condition);
    v.Record("handler", handler);
  }
};

struct HandlerNodeRecord;

// Kinds of a handler node's children.
enum class HandlerChildKind : uint8_t { kNode = 0, kAction = 3 };

// A child of a handler node: a nested handler node, or an action with its type and handler.
struct HandlerChildEntry {
  uint8_t kind = 0;
  Boxed<HandlerNodeRecord> node;  // kind 0
  uint8_t action = 0;             // kind 3
  HandlerRecord handler;          // kind 3

  template <class V>
  void Visit(V& v);
};

struct HandlerNodeRecord {
  // Stored in front of an else branch; any other value means there is none.
  static constexpr uint8_t kElsePresent = 0;

  CountedList<HandlerChildEntry> children;
  CountedList<ConditionEntry> conditions;
  uint8_t else_marker = 1;
  Boxed<HandlerNodeRecord> else_node;  // present when else_marker is 0

  template <class V>
  void Visit(V& v) {
    v.List("children", children);
    v.List("conditions", conditions);
    v.Byte("else_marker", else_marker);
    if (else_marker != kElsePresent) {
      if constexpr (V::kReading) else_node.reset();
      return;
    }
    if constexpr (V::kReading) {
      else_node.emplace();
    } else if (!else_node) {
      return v.Fail("a handler node marks an else branch it does not have");
    }
    v.Record("else", *else_node);
  }
};

template <class V>
void HandlerChildEntry::Visit(V& v) {
  v.Byte("kind", kind);
  switch (static_cast<HandlerChildKind>(kind)) {
    case HandlerChildKind::kNode:
      if constexpr (V::kReading) {
        node.emplace();
      } else if (!node) {
        return v.Fail("a handler node child has no node");
      }
      v.Record("node", *node);
      return;
    case HandlerChildKind::kAction:
      v.Byte("action", action);
      v.Record("handler", handler);
      return;
  }
  v.Fail("unknown handler child kind " + std::to_string(kind));
}

}  // namespace cva
