#include "converter/pe/resource_directory.h"

#include <set>
#include <type_traits>

#include "converter/pe/byte_io.h"

namespace cva::pe {
namespace {

constexpr uint32_t kSubdirectoryBit = 0x80000000u;
constexpr uint32_t kNameBit = 0x80000000u;
constexpr size_t kTableHeader = 16;
constexpr size_t kEntrySize = 8;
constexpr size_t kDataEntrySize = 16;
// No real program comes near these; they stop tables that point at one another many times
// over from multiplying the work and the memory.
constexpr size_t kMaxEntries = 1 << 16;

class DirectoryReader {
 public:
  DirectoryReader(std::span<const uint8_t> directory, const RvaBytes& data, uint64_t data_limit,
                  std::string& error)
      : view_(directory), data_(data), data_limit_(data_limit), error_(error) {}

  bool ReadTypes(ResourceTree& tree) {
    return ReadTable(0, 0, [&](const ResourceName& type, uint32_t offset) {
      NameMap& names = tree[type];
      return ReadTable(offset, 1, [&](const ResourceName& name, uint32_t name_offset) {
        LanguageMap& languages = names[name];
        return ReadTable(name_offset, 2, [&](const ResourceName& language, uint32_t entry) {
          if (!language.is_id) return Fail("a language entry has a name");
          return ReadData(entry, languages[language.id]);
        });
      });
    });
  }

 private:
  // Calls `visit` for each entry of the table at `offset`, with its name and the offset it
  // points to; entries of levels 0 and 1 must point to tables, those of level 2 to data.
  template <class Visit>
  bool ReadTable(uint32_t offset, int level, const Visit& visit) {
    uint16_t named = 0, ids = 0;
    if (!view_.Read16(size_t{offset} + 12, named) || !view_.Read16(size_t{offset} + 14, ids))
      return Fail("a resource table lies outside the resource section");
    const size_t count = size_t{named} + ids;
    entries_ += count;
    if (entries_ > kMaxEntries) return Fail("the resource directory has too many entries");
    if (!view_.Has(size_t{offset} + kTableHeader, count * kEntrySize))
      return Fail("a resource table's entries lie outside the resource section");
    // Tables written by other tools may be unsorted (the maps sort them); a name listed twice
    // would leave it open which entry counts.
    std::set<ResourceName> seen;
    for (size_t i = 0; i < count; ++i) {
      const size_t at = offset + kTableHeader + i * kEntrySize;
      uint32_t name_field = 0, target = 0;
      view_.Read32(at, name_field);
      view_.Read32(at + 4, target);
      ResourceName name;
      if (name_field & kNameBit) {
        if (!ReadName(name_field & ~kNameBit, name)) return false;
      } else {
        if (name_field > 0xFFFF) return Fail("a resource identifier is out of range");
        name = ResourceName::Id(static_cast<uint16_t>(name_field));
      }
      if (!seen.insert(name).second) return Fail("a resource table lists an entry twice");
      const bool is_table = (target & kSubdirectoryBit) != 0;
      if (is_table != (level < 2)) return Fail("a resource table has an entry of the wrong kind");
      if (!visit(name, target & ~kSubdirectoryBit)) return false;
    }
    return true;
  }

  bool ReadName(uint32_t offset, ResourceName& name) {
    uint16_t length = 0;
    if (!view_.Read16(offset, length) || !view_.Has(size_t{offset} + 2, size_t{length} * 2))
      return Fail("a resource name lies outside the resource section");
    std::u16string units(length, u'\0');
    for (size_t i = 0; i < length; ++i) {
      uint16_t unit = 0;
      view_.Read16(offset + 2 + i * 2, unit);
      units[i] = static_cast<char16_t>(unit);
    }
    name = ResourceName::Name(std::move(units));
    return true;
  }

  bool ReadData(uint32_t offset, ResourceData& out) {
    uint32_t rva = 0, size = 0;
    if (!view_.Has(offset, kDataEntrySize))
      return Fail("a resource data entry lies outside the resource section");
    view_.Read32(offset, rva);
    view_.Read32(size_t{offset} + 4, size);
    view_.Read32(size_t{offset} + 8, out.code_page);
    data_bytes_ += size;
    std::optional<std::span<const uint8_t>> bytes = data_(rva, size);
    if (!bytes) return Fail("a resource's data lies outside the program's sections");
    // Each byte of the file can belong to one resource: more data than that means entries
    // share data, which no linker writes, and copying it could take any amount of memory.
    if (data_bytes_ > data_limit_) return Fail("the resources hold more data than the file");
    out.bytes.assign(bytes->begin(), bytes->end());
    return true;
  }

  bool Fail(const char* reason) {
    error_ = reason;
    return false;
  }

  ByteView view_;
  const RvaBytes& data_;
  uint64_t data_limit_;
  std::string& error_;
  size_t entries_ = 0;
  uint64_t data_bytes_ = 0;
};

size_t TableSize(size_t entries) {
  return kTableHeader + entries * kEntrySize;
}

void WriteTableHeader(std::vector<uint8_t>& out, size_t at, const auto& map) {
  uint16_t named = 0;
  for (const auto& [name, value] : map) {
    if constexpr (std::is_same_v<std::decay_t<decltype(name)>, ResourceName>) named += !name.is_id;
  }
  Put16(out, at + 12, named);
  Put16(out, at + 14, static_cast<uint16_t>(map.size() - named));
}

}  // namespace

bool ReadResourceDirectory(std::span<const uint8_t> directory, const RvaBytes& data,
                           uint64_t data_limit, ResourceTree& tree, std::string& error) {
  tree.clear();
  DirectoryReader reader(directory, data, data_limit, error);
  if (reader.ReadTypes(tree)) return true;
  tree.clear();
  return false;
}

std::vector<uint8_t> WriteResourceDirectory(const ResourceTree& tree, uint32_t rva) {
  // Sizes: the root table, one table per type, one per (type, name); then the data entries,
  // the names and the data.
  size_t tables = TableSize(tree.size());
  size_t leaves = 0, name_bytes = 0, data_bytes = 0;
  auto add_name = [&](const ResourceName& name) {
    if (!name.is_id) name_bytes += 2 + name.name.size() * 2;
  };
  for (const auto& [type, names] : tree) {
    add_name(type);
    tables += TableSize(names.size());
    for (const auto& [name, languages] : names) {
      add_name(name);
      tables += TableSize(languages.size());
      leaves += languages.size();
      for (const auto& [language, entry] : languages) data_bytes += AlignUp(entry.bytes.size(), 8);
    }
  }
  const size_t entries_start = tables;
  const size_t names_start = entries_start + leaves * kDataEntrySize;
  const size_t data_start = AlignUp(names_start + name_bytes, 8);
  std::vector<uint8_t> out(data_start + data_bytes, 0);

  size_t next_table = TableSize(tree.size());
  size_t next_entry = entries_start, next_name = names_start, next_data = data_start;
  auto name_field = [&](const ResourceName& name) -> uint32_t {
    if (name.is_id) return name.id;
    const size_t at = next_name;
    Put16(out, at, static_cast<uint16_t>(name.name.size()));
    for (size_t i = 0; i < name.name.size(); ++i) Put16(out, at + 2 + i * 2, name.name[i]);
    next_name += 2 + name.name.size() * 2;
    return static_cast<uint32_t>(at) | kNameBit;
  };
  auto put_entry = [&](size_t table, size_t index, uint32_t name, uint32_t target) {
    Put32(out, table + kTableHeader + index * kEntrySize, name);
    Put32(out, table + kTableHeader + index * kEntrySize + 4, target);
  };

  // Tables breadth-first: the root, every type's table, then every name's table.
  WriteTableHeader(out, 0, tree);
  std::vector<size_t> type_tables;
  size_t index = 0;
  for (const auto& [type, names] : tree) {
    type_tables.push_back(next_table);
    put_entry(0, index++, name_field(type), static_cast<uint32_t>(next_table) | kSubdirectoryBit);
    WriteTableHeader(out, next_table, names);
    next_table += TableSize(names.size());
  }
  size_t type_index = 0;
  for (const auto& [type, names] : tree) {
    const size_t type_table = type_tables[type_index++];
    index = 0;
    for (const auto& [name, languages] : names) {
      const size_t table = next_table;
      put_entry(type_table, index++, name_field(name),
                static_cast<uint32_t>(table) | kSubdirectoryBit);
      WriteTableHeader(out, table, languages);
      next_table += TableSize(languages.size());
      size_t language_index = 0;
      for (const auto& [language, entry] : languages) {
        put_entry(table, language_index++, language, static_cast<uint32_t>(next_entry));
        Put32(out, next_entry, static_cast<uint32_t>(rva + next_data));
        Put32(out, next_entry + 4, static_cast<uint32_t>(entry.bytes.size()));
        Put32(out, next_entry + 8, entry.code_page);
        next_entry += kDataEntrySize;
        std::copy(entry.bytes.begin(), entry.bytes.end(), out.begin() + next_data);
        next_data += AlignUp(entry.bytes.size(), 8);
      }
    }
  }
  return out;
}

}  // namespace cva::pe
