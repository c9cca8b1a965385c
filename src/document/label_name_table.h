#pragma once

#include <cstdint>
#include <map>

#include "stream/encoded_text.h"
#include "stream/record_fields.h"

namespace cva {

// One entry of the label-name section.
struct LabelNameRecord {
  int16_t id = 0;
  StoredText name;

  template <class V>
  void Visit(V& v) {
    v.Short("id", id);
    v.Text("name", name);
  }
};

// Names of a document's labels, in identifier order.
class LabelNameTable {
 public:
  // Skips a name equal to one already present (the first identifier of a name wins);
  // otherwise maps the identifier to the name.
  bool Add(int16_t id, const EncodedText& name);
  // The identifier of the first equal name in identifier order, or -1.
  int32_t Find(const EncodedText& name) const;
  const EncodedText* NameOf(int16_t id) const;
  size_t size() const { return names_.size(); }
  void Clear() { names_.clear(); }

  auto begin() const { return names_.begin(); }
  auto end() const { return names_.end(); }

 private:
  std::map<int16_t, EncodedText> names_;
};

}  // namespace cva
