#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <string>

#include "converter/resource_store.h"

namespace cva {

// Writes a generated player's resources through a store: each resource at the first of the
// languages 1041, 1024 and 1033 the store takes, with a diagnostic line for each; string
// changes are kept in a map of every string of the program and written as whole blocks when
// committed.
class ResourceUpdater {
 public:
  static constexpr uint16_t kRtIcon = 3;
  static constexpr uint16_t kRtString = 6;
  static constexpr uint16_t kRtRcData = 10;
  static constexpr uint16_t kRtGroupIcon = 14;
  static constexpr uint16_t kLanguages[] = {1041, 1024, 1033};

  using Print = std::function<void(const std::string&)>;

  // Fills the string map from every string block of `store`; diagnostics go to `print`.
  ResourceUpdater(ResourceStore& store, Print print);

  // Replaces string `id` by `text` followed by a NUL unit. False, changing nothing, when the
  // program has no string of that identifier or the text is too long for a string entry.
  bool ReplaceString(uint32_t id, const std::u16string& text);
  // Writes one resource; false when no language was taken.
  bool Write(uint16_t type, uint16_t id, std::span<const uint8_t> bytes);
  // Writes the string blocks when a string changed, then commits the store.
  bool Commit(std::string& reason);

  // Identifier → code units (block − 1) × 16 + index, every entry of every block present.
  const std::map<uint32_t, std::u16string>& strings() const { return strings_; }

 private:
  ResourceStore& store_;
  Print print_;
  std::map<uint32_t, std::u16string> strings_;
  bool strings_changed_ = false;
};

}  // namespace cva
