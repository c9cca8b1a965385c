#pragma once

#include <cstdint>
#include <vector>

#include "converter/pe/byte_io.h"
#include "converter/pe/resource_directory.h"

namespace cva::testing {

// What follows the resource section of a small program.
enum class AfterResources { kNothing, kRelocations, kData };

// A small PE32+ program: headers, a code section (0x1000), the resources (0x2000, up to one
// page) and optionally one more section (0x3000), whose bytes are 0x5A.
inline std::vector<uint8_t> SmallProgram(const pe::ResourceTree& resources,
                                         AfterResources after = AfterResources::kRelocations) {
  const bool third = after != AfterResources::kNothing;
  const uint32_t sections = third ? 3 : 2;
  const std::vector<uint8_t> directory = pe::WriteResourceDirectory(resources, 0x2000);
  const auto resources_raw = static_cast<uint32_t>(pe::AlignUp(directory.size(), 0x200));
  std::vector<uint8_t> out(0x600 + resources_raw + (third ? 0x200 : 0), 0);
  out[0] = 'M';
  out[1] = 'Z';
  pe::Put32(out, 0x3C, 0x80);
  pe::Put32(out, 0x80, 0x4550);
  const size_t coff = 0x84, opt = coff + 20;
  pe::Put16(out, coff, 0x8664);
  pe::Put16(out, coff + 2, static_cast<uint16_t>(sections));
  pe::Put16(out, coff + 16, 240);
  pe::Put16(out, opt, 0x20B);
  pe::Put32(out, opt + 8, resources_raw + (third ? 0x200 : 0));  // initialised data
  pe::Put32(out, opt + 32, 0x1000);
  pe::Put32(out, opt + 36, 0x200);
  pe::Put32(out, opt + 56, 0x1000 * (sections + 1));
  pe::Put32(out, opt + 60, 0x400);
  pe::Put32(out, opt + 108, 16);
  const size_t dirs = opt + 112, table = opt + 240;
  auto section = [&](size_t i, const char* name, uint32_t va, uint32_t size, uint32_t raw_size,
                     uint32_t raw, uint32_t flags) {
    const size_t at = table + i * 40;
    for (size_t c = 0; name[c]; ++c) out[at + c] = static_cast<uint8_t>(name[c]);
    pe::Put32(out, at + 8, size);
    pe::Put32(out, at + 12, va);
    pe::Put32(out, at + 16, raw_size);
    pe::Put32(out, at + 20, raw);
    pe::Put32(out, at + 36, flags);
  };
  section(0, ".text", 0x1000, 0x10, 0x200, 0x400, 0x60000020);
  out[0x400] = 0xC3;  // ret
  section(1, ".rsrc", 0x2000, static_cast<uint32_t>(directory.size()), resources_raw, 0x600,
          0x40000040);
  std::copy(directory.begin(), directory.end(), out.begin() + 0x600);
  pe::Put32(out, dirs + 2 * 8, 0x2000);
  pe::Put32(out, dirs + 2 * 8 + 4, static_cast<uint32_t>(directory.size()));
  if (third) {
    const bool relocations = after == AfterResources::kRelocations;
    section(2, relocations ? ".reloc" : ".data", 0x3000, 0x200, 0x200, 0x600 + resources_raw,
            0x42000040);
    std::fill(out.begin() + 0x600 + resources_raw, out.end(), 0x5A);
    if (relocations) {
      pe::Put32(out, dirs + 5 * 8, 0x3000);
      pe::Put32(out, dirs + 5 * 8 + 4, 0x200);
    }
  }
  return out;
}

// The placeholders and strings a player template holds, in a small program.
inline pe::ResourceTree TemplateResources() {
  using pe::ResourceName;
  pe::ResourceTree tree;
  auto block = [](std::vector<std::pair<size_t, std::u16string>> strings) {
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < 16; ++i) {
      std::u16string text;
      for (auto& [index, s] : strings)
        if (index == i) text = s;
      bytes.push_back(static_cast<uint8_t>(text.size()));
      bytes.push_back(0);
      for (char16_t c : text) {
        bytes.push_back(static_cast<uint8_t>(c));
        bytes.push_back(static_cast<uint8_t>(c >> 8));
      }
    }
    return bytes;
  };
  tree[ResourceName::Id(pe::kRtString)][ResourceName::Id(7)][1041].bytes =
      block({{13, u"CPP_DX_PLAYER"}});
  tree[ResourceName::Id(pe::kRtString)][ResourceName::Id(2501)][1041].bytes =
      block({{0, u"cvaplay"}});
  tree[ResourceName::Id(pe::kRtRcData)][ResourceName::Id(200)][24415].bytes = {'l', 'z', 'p', 0};
  tree[ResourceName::Id(pe::kRtRcData)][ResourceName::Id(201)][24415].bytes = {0, 0, 0, 0};
  tree[ResourceName::Id(pe::kRtIcon)][ResourceName::Id(1)][1041].bytes = {1, 1, 1};
  tree[ResourceName::Id(pe::kRtIcon)][ResourceName::Id(2)][1041].bytes = {2, 2, 2};
  return tree;
}

}  // namespace cva::testing
