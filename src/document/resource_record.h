#pragma once

#include <cstdint>
#include <string>

#include "document/loadable_resource.h"
#include "stream/record_fields.h"

namespace cva {

// One entry of a document's resource section: an image, a sound or a nested document.
struct ResourceRecord {
  int16_t id = 0;
  Flag load;           // start together with the document (nested documents)
  uint8_t kind = 0;    // ResourceKind
  int16_t pair_a = 0;  // images only; passed along, unused by the players
  int16_t pair_b = 0;
  StoredText name;  // archive member or file name

  template <class V>
  void Visit(V& v) {
    v.Short("id", id);
    v.Flag("load", load);
    v.Byte("kind", kind);
    if (kind > static_cast<uint8_t>(ResourceKind::kDocument))
      return v.Fail("unknown resource kind " + std::to_string(kind));
    if (kind == static_cast<uint8_t>(ResourceKind::kImage)) {
      v.Short("pair_a", pair_a);
      v.Short("pair_b", pair_b);
    }
    v.Text("name", name);
  }
};

}  // namespace cva
