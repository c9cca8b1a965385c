#include "document/label_name_table.h"

namespace cva {

bool LabelNameTable::Add(int16_t id, const EncodedText& name) {
  if (Find(name) >= 0) return false;
  names_.insert_or_assign(id, name);
  return true;
}

int32_t LabelNameTable::Find(const EncodedText& name) const {
  for (const auto& [id, stored] : names_)
    if (stored == name) return id;
  return -1;
}

const EncodedText* LabelNameTable::NameOf(int16_t id) const {
  auto it = names_.find(id);
  return it == names_.end() ? nullptr : &it->second;
}

}  // namespace cva
