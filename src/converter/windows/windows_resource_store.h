#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "converter/resource_store.h"

namespace cva {

// A resource store over the system's resource-update calls. The program's string blocks are
// read once when it is opened (through a data-file view that is released at once, so that no
// view of the file is open while the update writes it); the update keeps the existing
// resources. A store dropped without a commit discards its changes.
class WindowsResourceStore final : public ResourceStore {
 public:
  // `path` is a narrow path in the system's code page. Nothing, with the system's reason,
  // when the program cannot be opened for update.
  static std::unique_ptr<ResourceStore> Open(const std::string& path, std::string& reason);
  ~WindowsResourceStore() override;

  std::vector<Block> StringBlocks() override { return blocks_; }
  bool Write(uint16_t type, uint16_t id, uint16_t language,
             std::span<const uint8_t> bytes) override;
  bool Commit(std::string& reason) override;

 private:
  explicit WindowsResourceStore(HANDLE update) : update_(update) {}

  HANDLE update_;
  std::vector<Block> blocks_;
};

}  // namespace cva
