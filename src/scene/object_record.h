#pragma once

// PLACEHOLDER until the object records exist: one entry of the objects section
// (type code, then the record of that type).
#include <cstdint>

#include "stream/record_fields.h"

namespace cva {

struct ObjectEntry {
  uint8_t type = 0;

  template <class V>
  void Visit(V& v) {
    v.Byte("type", type);
    v.Fail("object records are not readable yet");
  }
};

}  // namespace cva
