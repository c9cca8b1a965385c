#pragma once

#include <cstdint>
#include <map>

#include "document/variable.h"

namespace cva {

// Variables keyed by identifier (a document's, a node controller's own, or the process's).
class VariableTable {
 public:
  // Adds the variable unless the identifier is taken; the first entry of an identifier wins,
  // as for a document's other tables.
  bool Add(int16_t id, const Variable& variable) { return variables_.emplace(id, variable).second; }
  Variable* Find(int16_t id) {
    auto it = variables_.find(id);
    return it == variables_.end() ? nullptr : &it->second;
  }
  const Variable* Find(int16_t id) const {
    auto it = variables_.find(id);
    return it == variables_.end() ? nullptr : &it->second;
  }
  size_t size() const { return variables_.size(); }
  void Clear() { variables_.clear(); }

  // Entries in identifier order (tools list them).
  auto begin() const { return variables_.begin(); }
  auto end() const { return variables_.end(); }

 private:
  std::map<int16_t, Variable> variables_;
};

}  // namespace cva
