#include "player/windows/module_resource.h"

#include "player/player_resources.h"

namespace cva {
namespace {

const LPCWSTR kData = MAKEINTRESOURCEW(10);  // RT_RCDATA

struct FoundLanguage {
  bool found = false;
  WORD language = 0;
};

BOOL CALLBACK TakeFirstLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR param) {
  auto* found = reinterpret_cast<FoundLanguage*>(param);
  found->found = true;
  found->language = language;
  return FALSE;  // the first one listed is enough
}

std::span<const uint8_t> BytesOf(HMODULE module, HRSRC resource) {
  if (!resource) return {};
  HGLOBAL loaded = LoadResource(module, resource);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  const DWORD size = SizeofResource(module, resource);
  if (!bytes || size == 0) return {};
  return {static_cast<const uint8_t*>(bytes), size};
}

}  // namespace

std::span<const uint8_t> FindModuleData(HMODULE module, int id) {
  const LPCWSTR name = MAKEINTRESOURCEW(id);
  for (WORD language : kPlayerDataLanguages) {
    if (HRSRC resource = FindResourceExW(module, kData, name, language))
      return BytesOf(module, resource);
  }
  FoundLanguage other;
  EnumResourceLanguagesW(module, kData, name, &TakeFirstLanguage,
                         reinterpret_cast<LONG_PTR>(&other));
  if (!other.found) return {};
  return BytesOf(module, FindResourceExW(module, kData, name, other.language));
}

}  // namespace cva
