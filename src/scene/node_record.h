#pragma once

// PLACEHOLDER until the scene tree records exist: the record of one scene node and,
// depth first, its children.
#include "stream/record_fields.h"

namespace cva {

struct NodeRecord {
  template <class V>
  void Visit(V& v) {
    v.Fail("scene tree records are not readable yet");
  }
};

}  // namespace cva
