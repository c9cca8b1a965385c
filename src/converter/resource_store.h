#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace cva {

// The resources of a program file being generated: read its string blocks, add or replace
// resources, write the changes. Windows implements it with its resource-update calls, other
// systems with the portable program-file editor.
class ResourceStore {
 public:
  struct Block {
    uint16_t id = 0;
    std::vector<uint8_t> bytes;
  };

  virtual ~ResourceStore() = default;
  // Every RT_STRING block of the program as its loader finds it, by ascending identifier.
  virtual std::vector<Block> StringBlocks() = 0;
  // Adds or replaces one resource; false when the store does not take it at this language.
  virtual bool Write(uint16_t type, uint16_t id, uint16_t language,
                     std::span<const uint8_t> bytes) = 0;
  // Writes every change into the file; false with the system's reason. A store destroyed
  // without a commit discards its changes and releases the file, which may then be removed.
  virtual bool Commit(std::string& reason) = 0;
};

// Opens a store on the program file at `path`; nothing, and the reason, when it cannot.
using ResourceStoreOpener =
    std::function<std::unique_ptr<ResourceStore>(const std::string& path, std::string& reason)>;

}  // namespace cva
