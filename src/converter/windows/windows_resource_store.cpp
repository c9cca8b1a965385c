#include "converter/windows/windows_resource_store.h"

#include <algorithm>

#include "converter/windows/system_error.h"

namespace cva {
namespace {

BOOL CALLBACK AddStringBlock(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR param) {
  if (!IS_INTRESOURCE(name)) return TRUE;  // string blocks only have numbers
  auto& blocks = *reinterpret_cast<std::vector<ResourceStore::Block>*>(param);
  HRSRC found = FindResourceW(module, name, type);
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const auto* data = loaded ? static_cast<const uint8_t*>(LockResource(loaded)) : nullptr;
  ResourceStore::Block block;
  block.id = static_cast<uint16_t>(reinterpret_cast<uintptr_t>(name));
  if (data) block.bytes.assign(data, data + SizeofResource(module, found));
  blocks.push_back(std::move(block));
  return TRUE;
}

}  // namespace

std::unique_ptr<ResourceStore> WindowsResourceStore::Open(const std::string& path,
                                                          std::string& reason) {
  std::vector<Block> blocks;
  HMODULE view = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!view) {
    reason = "cannot read " + path + ": " + SystemErrorText(GetLastError());
    return nullptr;
  }
  EnumResourceNamesW(view, MAKEINTRESOURCEW(6), AddStringBlock,
                     reinterpret_cast<LONG_PTR>(&blocks));
  FreeLibrary(view);
  std::sort(blocks.begin(), blocks.end(),
            [](const Block& a, const Block& b) { return a.id < b.id; });

  HANDLE update = BeginUpdateResourceA(path.c_str(), FALSE);
  if (!update) {
    reason = "cannot update " + path + ": " + SystemErrorText(GetLastError());
    return nullptr;
  }
  std::unique_ptr<WindowsResourceStore> store(new WindowsResourceStore(update));
  store->blocks_ = std::move(blocks);
  return store;
}

WindowsResourceStore::~WindowsResourceStore() {
  if (update_) EndUpdateResourceW(update_, TRUE);
}

bool WindowsResourceStore::Write(uint16_t type, uint16_t id, uint16_t language,
                                 std::span<const uint8_t> bytes) {
  return UpdateResourceW(update_, MAKEINTRESOURCEW(type), MAKEINTRESOURCEW(id), language,
                         const_cast<uint8_t*>(bytes.data()), static_cast<DWORD>(bytes.size()));
}

bool WindowsResourceStore::Commit(std::string& reason) {
  HANDLE update = update_;
  update_ = nullptr;
  if (!update || !EndUpdateResourceW(update, FALSE)) {
    reason = "the resources were not written: " + SystemErrorText(GetLastError());
    return false;
  }
  return true;
}

}  // namespace cva
