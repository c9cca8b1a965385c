#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace cva::pe {

// The name of a resource type or entry: an integer identifier or a string. Ordered as a
// resource directory lists them: strings first (by code unit), then identifiers ascending.
struct ResourceName {
  bool is_id = true;
  uint16_t id = 0;
  std::u16string name;

  static ResourceName Id(uint16_t id) { return {true, id, {}}; }
  static ResourceName Name(std::u16string name) { return {false, 0, std::move(name)}; }

  friend bool operator<(const ResourceName& a, const ResourceName& b) {
    if (a.is_id != b.is_id) return !a.is_id;
    return a.is_id ? a.id < b.id : a.name < b.name;
  }
  friend bool operator==(const ResourceName&, const ResourceName&) = default;
};

struct ResourceData {
  std::vector<uint8_t> bytes;
  uint32_t code_page = 0;
  friend bool operator==(const ResourceData&, const ResourceData&) = default;
};

// Every resource of a program: type, then name, then language. The maps keep each level in
// the order a resource directory must have for the loader's binary search.
using LanguageMap = std::map<uint16_t, ResourceData>;
using NameMap = std::map<ResourceName, LanguageMap>;
using ResourceTree = std::map<ResourceName, NameMap>;

// Resource types the converter writes.
inline constexpr uint16_t kRtIcon = 3;
inline constexpr uint16_t kRtString = 6;
inline constexpr uint16_t kRtRcData = 10;
inline constexpr uint16_t kRtGroupIcon = 14;

}  // namespace cva::pe
