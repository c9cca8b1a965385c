#include "program_resources.h"

#include "converter/pe/byte_io.h"
#include "converter/pe/pe_image.h"
#include "player/player_resources.h"
#include "system/text_codec.h"

namespace cva::play_tool {
namespace {

const pe::LanguageMap* Entry(const pe::ResourceTree& tree, uint16_t type, uint16_t id) {
  auto names = tree.find(pe::ResourceName::Id(type));
  if (names == tree.end()) return nullptr;
  auto languages = names->second.find(pe::ResourceName::Id(id));
  return languages == names->second.end() || languages->second.empty() ? nullptr
                                                                       : &languages->second;
}

std::vector<uint8_t> PlayerData(const pe::ResourceTree& tree, uint16_t id) {
  const pe::LanguageMap* languages = Entry(tree, pe::kRtRcData, id);
  if (!languages) return {};
  for (uint16_t language : kPlayerDataLanguages) {
    auto it = languages->find(language);
    if (it != languages->end()) return it->second.bytes;
  }
  return languages->begin()->second.bytes;
}

// String `index` of a string block (sixteen strings, each a 16-bit length in UTF-16 units and
// the units), up to its first terminator; empty when the block is cut before it.
std::u16string StringOfBlock(const std::vector<uint8_t>& block, size_t index) {
  const pe::ByteView view(block);
  size_t at = 0;
  for (size_t i = 0; i <= index; ++i) {
    uint16_t length = 0;
    if (!view.Read16(at, length) || !view.Has(at + 2, length * size_t{2})) return {};
    if (i == index) {
      std::u16string out;
      for (size_t u = 0; u < length; ++u) {
        uint16_t unit = 0;
        view.Read16(at + 2 + 2 * u, unit);
        if (unit == 0) break;
        out.push_back(static_cast<char16_t>(unit));
      }
      return out;
    }
    at += 2 + length * size_t{2};
  }
  return {};
}

std::string Title(const pe::ResourceTree& tree) {
  const pe::LanguageMap* languages =
      Entry(tree, pe::kRtString, static_cast<uint16_t>(kTitleString / 16 + 1));
  if (!languages) return {};
  return Utf16ToUtf8(StringOfBlock(languages->begin()->second.bytes, kTitleString % 16));
}

}  // namespace

std::optional<ProgramResources> ReadProgramResources(std::vector<uint8_t> bytes,
                                                     std::string& error) {
  pe::PeImage image;
  pe::ResourceTree tree;
  if (!image.Parse(std::move(bytes)) || !image.ReadResources(tree)) {
    error = image.error();
    return std::nullopt;
  }
  ProgramResources out;
  out.settings = PlayerData(tree, kSettingsResource);
  out.archive = PlayerData(tree, kArchiveResource);
  out.title = Title(tree);
  return out;
}

}  // namespace cva::play_tool
