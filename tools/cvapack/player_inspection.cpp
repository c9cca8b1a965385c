#include "player_inspection.h"

#include "archive/lzp_archive.h"
#include "converter/pe/byte_io.h"
#include "converter/pe/pe_image.h"
#include "player/player_resources.h"
#include "settings_json.h"
#include "system/text_codec.h"

namespace cva::pack_tool {
namespace {

using Json = nlohmann::ordered_json;
using pe::ResourceName;

std::string NameText(const ResourceName& name) {
  return name.is_id ? std::to_string(name.id) : Utf16ToUtf8(name.name);
}

Json TypeJson(const ResourceName& type) {
  if (!type.is_id) return Utf16ToUtf8(type.name);
  switch (type.id) {
    case pe::kRtIcon:
      return "icon";
    case pe::kRtString:
      return "string";
    case pe::kRtRcData:
      return "rcdata";
    case pe::kRtGroupIcon:
      return "group_icon";
    default:
      return type.id;
  }
}

// The language the player takes a data resource at: the converter's languages first, then
// the first one stored.
uint16_t PlayerLanguage(const pe::LanguageMap& languages) {
  for (uint16_t language : kPlayerDataLanguages)
    if (languages.count(language)) return language;
  return languages.begin()->first;
}

const pe::NameMap* TypeOf(const pe::ResourceTree& tree, uint16_t type) {
  auto it = tree.find(ResourceName::Id(type));
  return it == tree.end() ? nullptr : &it->second;
}

const pe::LanguageMap* EntryOf(const pe::ResourceTree& tree, uint16_t type, uint16_t id) {
  const pe::NameMap* names = TypeOf(tree, type);
  if (!names) return nullptr;
  auto it = names->find(ResourceName::Id(id));
  return it == names->end() || it->second.empty() ? nullptr : &it->second;
}

class Inspector {
 public:
  explicit Inspector(Inspection& out) : out_(out) {}

  Json Resources(const pe::ResourceTree& tree) {
    Json list = Json::array();
    for (const auto& [type, names] : tree)
      for (const auto& [name, languages] : names)
        for (const auto& [language, data] : languages)
          list.push_back({{"type", TypeJson(type)},
                          {"name", name.is_id ? Json(name.id) : Json(NameText(name))},
                          {"language", language},
                          {"bytes", data.bytes.size()}});
    return list;
  }

  Json Settings(const pe::ResourceTree& tree) {
    Json list = Json::array();
    const pe::LanguageMap* languages = EntryOf(tree, pe::kRtRcData, kSettingsResource);
    if (!languages) return list;
    const uint16_t read = PlayerLanguage(*languages);
    for (const auto& [language, data] : *languages) {
      const json::SettingsDump dump = json::DumpSettings(data.bytes);
      if (!dump.ok) Problem("settings record", language, dump.offset, dump.error);
      Json entry = {{"language", language}, {"player_reads", language == read}};
      entry["record"] = dump.json;
      list.push_back(std::move(entry));
    }
    return list;
  }

  Json Archives(const pe::ResourceTree& tree) {
    Json list = Json::array();
    const pe::LanguageMap* languages = EntryOf(tree, pe::kRtRcData, kArchiveResource);
    if (!languages) return list;
    const uint16_t read = PlayerLanguage(*languages);
    for (const auto& [language, data] : *languages) {
      LzpArchive archive;
      archive.OpenMemory(data.bytes);
      Json members = Json::array();
      for (const LzpArchive::Entry& entry : archive.entries()) {
        Json member = {{"name", entry.name}};
        // Members of one name all read as the first of them, as the player finds them.
        if (std::optional<BlockStreamInfo> info = archive.ScanMember(entry.name))
          member["bytes"] = info->size;
        else
          Problem("archive member '" + entry.name + "'", language,
                  static_cast<uint32_t>(entry.data_position), "its block stream is damaged");
        members.push_back(std::move(member));
      }
      // A table that ends early still serves the members before the end, as in the player.
      list.push_back({{"language", language},
                      {"player_reads", language == read},
                      {"bytes", data.bytes.size()},
                      {"magic", archive.has_magic()},
                      {"table_complete", archive.table_complete()},
                      {"members", std::move(members)}});
    }
    return list;
  }

  Json Titles(const pe::ResourceTree& tree) {
    Json list = Json::array();
    const pe::LanguageMap* languages =
        EntryOf(tree, pe::kRtString, static_cast<uint16_t>(kTitleString / 16 + 1));
    if (!languages) return list;
    for (const auto& [language, data] : *languages) {
      std::u16string title;
      uint32_t offset = 0;
      if (!StringOfBlock(data.bytes, kTitleString % 16, title, offset)) {
        Problem("string block", language, offset, "a string runs past the block's end");
        continue;
      }
      // The converter stores the terminator inside the length; the window shows the text
      // up to it.
      title = title.substr(0, title.find(u'\0'));
      list.push_back({{"language", language}, {"text", Utf16ToUtf8(title)}});
    }
    return list;
  }

  Json Icons(const pe::ResourceTree& tree) {
    Json list = Json::array();
    const pe::NameMap* groups = TypeOf(tree, pe::kRtGroupIcon);
    if (!groups) return list;
    for (const auto& [name, languages] : *groups)
      for (const auto& [language, data] : languages)
        list.push_back({{"group", name.is_id ? Json(name.id) : Json(NameText(name))},
                        {"language", language},
                        {"images", GroupImages(data.bytes, language)}});
    return list;
  }

 private:
  void Problem(const std::string& what, uint16_t language, uint32_t offset,
               const std::string& why) {
    out_.problems.push_back(what + " at language " + std::to_string(language) + ": byte offset " +
                            std::to_string(offset) + ": " + why);
  }

  // String `index` of a string block: sixteen strings, each a 16-bit length in UTF-16 units
  // and the units.
  static bool StringOfBlock(const std::vector<uint8_t>& block, size_t index, std::u16string& out,
                            uint32_t& offset) {
    const pe::ByteView view(block);
    size_t at = 0;
    for (size_t i = 0; i <= index; ++i) {
      uint16_t length = 0;
      offset = static_cast<uint32_t>(at);
      if (!view.Read16(at, length) || !view.Has(at + 2, length * size_t{2})) return false;
      if (i == index) {
        out.clear();
        for (size_t u = 0; u < length; ++u) {
          uint16_t unit = 0;
          view.Read16(at + 2 + 2 * u, unit);
          out.push_back(static_cast<char16_t>(unit));
        }
      }
      at += 2 + length * size_t{2};
    }
    return true;
  }

  // The entries of an icon group: a 6-byte header whose third field is the count, then
  // 14 bytes per image.
  Json GroupImages(const std::vector<uint8_t>& group, uint16_t language) {
    const pe::ByteView view(group);
    Json images = Json::array();
    uint16_t count = 0;
    if (!view.Read16(4, count)) {
      Problem("icon group", language, 0, "the group header is cut");
      return images;
    }
    for (size_t i = 0; i < count; ++i) {
      const size_t at = 6 + 14 * i;
      uint16_t planes = 0, bits = 0, id = 0;
      uint32_t size = 0;
      if (!view.Has(at, 14)) {
        Problem("icon group", language, static_cast<uint32_t>(at), "an entry is cut");
        break;
      }
      view.Read16(at + 4, planes);
      view.Read16(at + 6, bits);
      view.Read32(at + 8, size);
      view.Read16(at + 12, id);
      // A side of 0 stands for 256 pixels.
      images.push_back({{"id", id},
                        {"width", group[at] ? group[at] : 256},
                        {"height", group[at + 1] ? group[at + 1] : 256},
                        {"bits_per_pixel", bits},
                        {"bytes", size}});
    }
    return images;
  }

  Inspection& out_;
};

}  // namespace

Inspection InspectPlayer(std::vector<uint8_t> bytes) {
  Inspection out;
  pe::PeImage image;
  pe::ResourceTree tree;
  if (!image.Parse(std::move(bytes)) || !image.ReadResources(tree)) {
    out.error = image.error();
    return out;
  }
  Inspector inspector(out);
  Json& j = out.json;
  j["settings"] = inspector.Settings(tree);
  j["archive"] = inspector.Archives(tree);
  j["title"] = inspector.Titles(tree);
  j["icons"] = inspector.Icons(tree);
  j["resources"] = inspector.Resources(tree);
  out.ok = true;
  return out;
}

}  // namespace cva::pack_tool
