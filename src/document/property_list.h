#pragma once

#include <vector>

#include "stream/encoded_text.h"
#include "stream/record_fields.h"

namespace cva {

// One key/value pair of a document's property list.
struct PropertyListEntry {
  StoredText key;
  StoredText value;

  template <class V>
  void Visit(V& v) {
    v.Text("key", key);
    v.Text("value", value);
  }
};

// All pairs in stored order, duplicates included. The players only keep it.
struct Property {
  EncodedText key;
  EncodedText value;
};
using PropertyList = std::vector<Property>;

}  // namespace cva
