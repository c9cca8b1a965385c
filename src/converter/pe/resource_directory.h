#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "converter/pe/resource_tree.h"

namespace cva::pe {

// The bytes of an RVA range of the image as the file holds them, or nothing when the range
// does not lie inside one section's raw data.
using RvaBytes =
    std::function<std::optional<std::span<const uint8_t>>(uint32_t rva, uint32_t size)>;

// Reads a resource directory (type, name and language levels) whose tables start at the first
// byte of `directory` and lie within it; the resources' data is looked up through `data`.
// A table, name or entry that does not fit, a level of the wrong kind, a repeated entry, or
// more entries than a real directory could hold or more data than `data_limit` bytes (the
// file's size: entries sharing data could otherwise copy it any number of times) gives false
// and a reason.
bool ReadResourceDirectory(std::span<const uint8_t> directory, const RvaBytes& data,
                           uint64_t data_limit, ResourceTree& tree, std::string& error);

// A resource directory for `tree` whose first byte will sit at `rva`: every table, then the
// data entries, the names and the data (each aligned to 8 bytes), with every level sorted.
std::vector<uint8_t> WriteResourceDirectory(const ResourceTree& tree, uint32_t rva);

}  // namespace cva::pe
