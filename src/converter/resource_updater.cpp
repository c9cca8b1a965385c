#include "converter/resource_updater.h"

#include <vector>

namespace cva {
namespace {

constexpr uint32_t kStringsPerBlock = 16;

void ReadBlock(const ResourceStore::Block& block, std::map<uint32_t, std::u16string>& strings) {
  if (block.id == 0) return;  // no string has a block identifier below 1
  size_t at = 0;
  auto unit = [&](size_t i) {
    return static_cast<char16_t>(block.bytes[i] | block.bytes[i + 1] << 8);
  };
  for (uint32_t index = 0; index < kStringsPerBlock; ++index) {
    std::u16string text;
    // A block cut short leaves its remaining strings empty.
    if (at + 2 <= block.bytes.size()) {
      const size_t count = unit(at);
      at += 2;
      for (size_t i = 0; i < count && at + 2 <= block.bytes.size(); ++i, at += 2)
        text.push_back(unit(at));
    }
    strings[(block.id - 1u) * kStringsPerBlock + index] = std::move(text);
  }
}

}  // namespace

ResourceUpdater::ResourceUpdater(ResourceStore& store, Print print)
    : store_(store), print_(std::move(print)) {
  for (const ResourceStore::Block& block : store_.StringBlocks()) ReadBlock(block, strings_);
}

bool ResourceUpdater::ReplaceString(uint32_t id, const std::u16string& text) {
  auto it = strings_.find(id);
  if (it == strings_.end() || text.size() >= 0xFFFF) return false;  // counts are 16-bit
  it->second = text;
  it->second.push_back(u'\0');
  strings_changed_ = true;
  return true;
}

bool ResourceUpdater::Write(uint16_t type, uint16_t id, std::span<const uint8_t> bytes) {
  for (uint16_t language : kLanguages) {
    if (!store_.Write(type, id, language, bytes)) continue;
    print_("[" + std::to_string(id) + "]は登録に成功しました。\n");
    print_("Lang[" + std::to_string(language & 0x3FF) + "] Size[" + std::to_string(bytes.size()) +
           "]\n");
    return true;
  }
  print_("[" + std::to_string(id) + "]は登録に失敗しました。\n");
  return false;
}

bool ResourceUpdater::Commit(std::string& reason) {
  if (strings_changed_) {
    // Whole blocks in ascending order; a block's 16 strings are consecutive identifiers.
    std::map<uint32_t, std::vector<uint8_t>> blocks;
    for (const auto& [id, text] : strings_) {
      std::vector<uint8_t>& block = blocks[id / kStringsPerBlock + 1];
      auto put = [&](char16_t u) {
        block.push_back(static_cast<uint8_t>(u));
        block.push_back(static_cast<uint8_t>(u >> 8));
      };
      put(static_cast<char16_t>(text.size()));
      for (char16_t u : text) put(u);
    }
    for (const auto& [id, block] : blocks) {
      if (!Write(kRtString, static_cast<uint16_t>(id), block)) {
        reason = "the string table could not be written";
        return false;
      }
    }
  }
  return store_.Commit(reason);
}

}  // namespace cva
