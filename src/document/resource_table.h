#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "document/loadable_resource.h"

namespace cva {

// A document's resources keyed by identifier, in identifier order. The table owns them.
class ResourceTable {
 public:
  bool Contains(int16_t id) const { return resources_.count(id) > 0; }
  // Adds the resource unless the identifier is taken (the first entry wins).
  bool Add(int16_t id, std::unique_ptr<LoadableResource> resource) {
    if (!resource) return false;
    return resources_.emplace(id, std::move(resource)).second;
  }
  LoadableResource* Find(int16_t id) const {
    auto it = resources_.find(id);
    return it == resources_.end() ? nullptr : it->second.get();
  }
  size_t size() const { return resources_.size(); }
  void Clear() { resources_.clear(); }

  auto begin() const { return resources_.begin(); }
  auto end() const { return resources_.end(); }

 private:
  std::map<int16_t, std::unique_ptr<LoadableResource>> resources_;
};

}  // namespace cva
