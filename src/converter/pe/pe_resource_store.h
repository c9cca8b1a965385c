#pragma once

#include <memory>
#include <string>

#include "converter/pe/pe_image.h"
#include "converter/resource_store.h"

namespace cva::pe {

// A resource store over a program file edited in memory with `PeImage`: every language is
// taken, and Commit rewrites the file.
class PeResourceStore final : public ResourceStore {
 public:
  // Reads and checks the program at `path`; nothing, with the reason, when it cannot.
  static std::unique_ptr<ResourceStore> Open(const std::string& path, std::string& reason);

  std::vector<Block> StringBlocks() override;
  bool Write(uint16_t type, uint16_t id, uint16_t language,
             std::span<const uint8_t> bytes) override;
  bool Commit(std::string& reason) override;

 private:
  std::string path_;
  PeImage image_;
  ResourceTree tree_;
};

}  // namespace cva::pe
