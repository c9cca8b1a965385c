#include "converter/pe/pe_resource_store.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace cva::pe {
namespace {

// The language a string block is read at when it has several: the converter's own, else the
// lowest (the one the loader's fallback finds).
constexpr uint16_t kPreferredLanguage = 1041;

std::string SystemReason(const std::string& path) {
  return path + ": " + std::strerror(errno);
}

}  // namespace

std::unique_ptr<ResourceStore> PeResourceStore::Open(const std::string& path, std::string& reason) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    reason = SystemReason(path);
    return nullptr;
  }
  std::vector<uint8_t> bytes;
  uint8_t buffer[1 << 16];
  size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
    bytes.insert(bytes.end(), buffer, buffer + n);
  const bool failed = std::ferror(file);
  std::fclose(file);
  if (failed) {
    reason = SystemReason(path);
    return nullptr;
  }
  auto store = std::make_unique<PeResourceStore>();
  store->path_ = path;
  if (!store->image_.Parse(std::move(bytes)) || !store->image_.ReadResources(store->tree_)) {
    reason = path + ": " + store->image_.error();
    return nullptr;
  }
  return store;
}

std::vector<ResourceStore::Block> PeResourceStore::StringBlocks() {
  std::vector<Block> blocks;
  auto strings = tree_.find(ResourceName::Id(kRtString));
  if (strings == tree_.end()) return blocks;
  for (const auto& [name, languages] : strings->second) {
    if (!name.is_id || languages.empty()) continue;
    auto chosen = languages.find(kPreferredLanguage);
    if (chosen == languages.end()) chosen = languages.begin();
    blocks.push_back({name.id, chosen->second.bytes});
  }
  return blocks;
}

bool PeResourceStore::Write(uint16_t type, uint16_t id, uint16_t language,
                            std::span<const uint8_t> bytes) {
  tree_[ResourceName::Id(type)][ResourceName::Id(id)][language] = {
      std::vector<uint8_t>(bytes.begin(), bytes.end()), 0};
  return true;
}

bool PeResourceStore::Commit(std::string& reason) {
  if (!image_.WriteResources(tree_)) {
    reason = image_.error();
    return false;
  }
  const std::vector<uint8_t>& bytes = image_.bytes();
  std::FILE* file = std::fopen(path_.c_str(), "wb");
  if (!file) {
    reason = SystemReason(path_);
    return false;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  if (!written) reason = SystemReason(path_);
  if (std::fclose(file) != 0 && written) {
    reason = SystemReason(path_);
    return false;
  }
  return written;
}

}  // namespace cva::pe
