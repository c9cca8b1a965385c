#pragma once

// PLACEHOLDER until the controller records exist: a node controller (handler tree).
#include "stream/record_fields.h"

namespace cva {

struct ControllerRecord {
  template <class V>
  void Visit(V& v) {
    v.Fail("controller records are not readable yet");
  }
};

}  // namespace cva
