#pragma once

// The stored form of a node controller: its own variables, named handler trees and the root
// handler tree evaluated every frame.

#include <cstdint>

#include "document/variable.h"
#include "scene/controller/handler_record.h"
#include "stream/record_fields.h"

namespace cva {

// A handler tree stored under a 16-bit key.
struct NamedHandlerRecord {
  int16_t key = 0;
  HandlerNodeRecord node;

  template <class V>
  void Visit(V& v) {
    v.Short("key", key);
    v.Record("node", node);
  }
};

struct ControllerRecord {
  CountedList<VariableRecord> variables;  // the controller's own variable table
  CountedList<NamedHandlerRecord> named_handlers;
  HandlerNodeRecord root;

  template <class V>
  void Visit(V& v) {
    v.List("variables", variables);
    v.List("named_handlers", named_handlers);
    v.Record("root", root);
  }
};

}  // namespace cva
