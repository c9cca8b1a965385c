#include "converter/pe/pe_image.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "converter/pe/byte_io.h"
#include "converter/small_program.h"
#include "support/temp_dir.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace cva {
namespace {

using pe::ByteView;
using pe::PeImage;
using pe::ResourceName;
using pe::ResourceTree;
using testing::AfterResources;
using testing::SmallProgram;
using testing::TemplateResources;

constexpr size_t kOptional = 0x84 + 20;  // the small program's optional header
constexpr size_t kDirectories = kOptional + 112;
constexpr size_t kSectionTable = kOptional + 240;

uint32_t Get32(const std::vector<uint8_t>& bytes, size_t at) {
  uint32_t value = 0;
  EXPECT_TRUE(ByteView(bytes).Read32(at, value)) << at;
  return value;
}

ResourceTree Reread(const std::vector<uint8_t>& bytes) {
  PeImage image;
  ResourceTree tree;
  EXPECT_TRUE(image.Parse(bytes)) << image.error();
  EXPECT_TRUE(image.ReadResources(tree)) << image.error();
  return tree;
}

// Every table of the resource directory in `bytes` lists its entries in strictly ascending
// identifier order, which the loader's binary search needs.
void ExpectSortedDirectory(const std::vector<uint8_t>& bytes) {
  const uint32_t rva = Get32(bytes, kDirectories + 16);
  uint32_t base = 0;  // the file position of `rva`
  for (uint16_t i = 0; i < 8; ++i) {
    const size_t at = kSectionTable + i * 40;
    if (Get32(bytes, at + 12) == rva) base = Get32(bytes, at + 20);
  }
  ASSERT_NE(base, 0u);
  std::function<void(uint32_t, int)> walk = [&](uint32_t table, int level) {
    uint16_t named = 0, ids = 0;
    ASSERT_TRUE(ByteView(bytes).Read16(base + table + 12, named));
    ASSERT_TRUE(ByteView(bytes).Read16(base + table + 14, ids));
    EXPECT_EQ(named, 0);
    int64_t previous = -1;
    for (uint32_t e = 0; e < ids; ++e) {
      const uint32_t id = Get32(bytes, base + table + 16 + e * 8);
      EXPECT_GT(int64_t{id}, previous) << "level " << level;
      previous = id;
      if (level < 2) walk(Get32(bytes, base + table + 20 + e * 8) & 0x7FFFFFFF, level + 1);
    }
  };
  walk(0, 0);
}

std::vector<uint8_t> Pattern(size_t n) {
  std::vector<uint8_t> bytes(n);
  for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + i / 251);
  return bytes;
}

TEST(PeImageTest, GrownResourcesStaySortedAndTheRelocationsMoveBehindThem) {
  PeImage image;
  ASSERT_TRUE(image.Parse(SmallProgram(TemplateResources())));
  ResourceTree tree;
  ASSERT_TRUE(image.ReadResources(tree)) << image.error();
  EXPECT_EQ(tree, TemplateResources());
  tree[ResourceName::Id(pe::kRtRcData)][ResourceName::Id(200)][1041].bytes = Pattern(5000);
  tree[ResourceName::Id(pe::kRtRcData)][ResourceName::Id(201)][1041].bytes = {1, 0, 1, 0};
  ASSERT_TRUE(image.WriteResources(tree)) << image.error();

  const std::vector<uint8_t>& out = image.bytes();
  EXPECT_EQ(Reread(out), tree);
  ExpectSortedDirectory(out);
  EXPECT_EQ(out[0x400], 0xC3);  // the code is where it was
  EXPECT_EQ(Get32(out, 0x84 + 2) & 0xFFFF, 3u);
  // The resources grew in place; the relocations follow them, unchanged, and the directory
  // entry, image size and checksum say so.
  const size_t reloc = kSectionTable + 2 * 40;
  const uint32_t reloc_rva = Get32(out, reloc + 12), reloc_raw = Get32(out, reloc + 20);
  EXPECT_EQ(Get32(out, kDirectories + 16), 0x2000u);
  EXPECT_GE(Get32(out, kDirectories + 20), 5000u);
  EXPECT_EQ(reloc_rva, 0x2000u + 0x2000u);  // 5000-odd bytes of resources take two pages
  EXPECT_EQ(Get32(out, kDirectories + 5 * 8), reloc_rva);
  EXPECT_EQ(Get32(out, kOptional + 56), reloc_rva + 0x1000);
  EXPECT_EQ(Get32(out, kOptional + 8), 0x200u + Get32(out, kSectionTable + 40 + 16));
  ASSERT_LE(reloc_raw + 0x200, out.size());
  for (size_t i = 0; i < 0x200; ++i) ASSERT_EQ(out[reloc_raw + i], 0x5A) << i;
  EXPECT_EQ(Get32(out, kOptional + 64), pe::PeChecksum(out, kOptional + 64));
  EXPECT_NE(Get32(out, kOptional + 64), 0u);
}

TEST(PeImageTest, ResourcesThatFitStayInPlaceOtherwiseTheyGetANewLastSection) {
  ResourceTree tree = TemplateResources();
  PeImage image;
  ASSERT_TRUE(image.Parse(SmallProgram(tree, AfterResources::kData)));
  tree[ResourceName::Id(pe::kRtIcon)][ResourceName::Id(1)][1041].bytes = {9};
  ASSERT_TRUE(image.WriteResources(tree)) << image.error();
  EXPECT_EQ(Get32(image.bytes(), kDirectories + 16), 0x2000u);
  EXPECT_EQ(Get32(image.bytes(), 0x84 + 2) & 0xFFFF, 3u);
  EXPECT_EQ(Reread(image.bytes()), tree);

  // Data that other code addresses follows: the grown directory goes into a fourth section,
  // and the data section keeps its address and bytes.
  tree[ResourceName::Id(pe::kRtRcData)][ResourceName::Id(200)][1041].bytes = Pattern(3000);
  ASSERT_TRUE(image.WriteResources(tree)) << image.error();
  const std::vector<uint8_t>& out = image.bytes();
  EXPECT_EQ(Get32(out, 0x84 + 2) & 0xFFFF, 4u);
  EXPECT_EQ(Get32(out, kDirectories + 16), 0x4000u);
  EXPECT_EQ(Get32(out, kSectionTable + 2 * 40 + 12), 0x3000u);
  EXPECT_EQ(out[Get32(out, kSectionTable + 2 * 40 + 20)], 0x5A);
  EXPECT_EQ(Get32(out, kOptional + 56), 0x5000u);
  EXPECT_EQ(Reread(out), tree);
  ExpectSortedDirectory(out);
  EXPECT_EQ(Get32(out, kOptional + 64), pe::PeChecksum(out, kOptional + 64));
}

TEST(PeImageTest, DamagedProgramsAreRefusedWithAReason) {
  const std::vector<uint8_t> good = SmallProgram(TemplateResources());
  // The first data entry (after the root, 3 type tables and 6 language tables) and the first
  // type entry.
  constexpr size_t kFirstDataEntry = 0x600 + 40 + 3 * 32 + 6 * 24;
  ASSERT_EQ(Get32(good, kFirstDataEntry) & 0xFFFFF000, 0x2000u);
  ASSERT_EQ(Get32(good, 0x610), 3u);
  const std::vector<std::pair<const char*, std::function<void(std::vector<uint8_t>&)>>> damages = {
      {"no MZ", [](auto& b) { b[0] = 'X'; }},
      {"PE header far away", [](auto& b) { pe::Put32(b, 0x3C, 0xFFFFFFF0); }},
      {"no sections", [](auto& b) { pe::Put16(b, 0x84 + 2, 0); }},
      {"section table cut", [](auto& b) { pe::Put16(b, 0x84 + 2, 90); }},
      {"section beyond the file",
       [](auto& b) { pe::Put32(b, kSectionTable + 40 + 20, 0x7FFFFF00); }},
      {"odd file alignment", [](auto& b) { pe::Put32(b, kOptional + 36, 0x300); }},
      {"directory outside the sections", [](auto& b) { pe::Put32(b, kDirectories + 16, 0x9000); }},
      {"too many root entries", [](auto& b) { pe::Put16(b, 0x600 + 14, 0xFFFF); }},
      {"table outside the section",
       [](auto& b) { pe::Put32(b, 0x614, 0x80000000u | 0x7FFFFFF0u); }},
      {"table pointing back at the root", [](auto& b) { pe::Put32(b, 0x614, 0x80000000u); }},
      {"data outside the sections", [&](auto& b) { pe::Put32(b, kFirstDataEntry, 0x9000); }},
      {"huge data", [&](auto& b) { pe::Put32(b, kFirstDataEntry + 4, 0xFFFFFFF0); }},
      {"signed", [](auto& b) { pe::Put32(b, kDirectories + 4 * 8 + 4, 8); }},
  };
  for (const auto& [what, damage] : damages) {
    std::vector<uint8_t> bytes = good;
    damage(bytes);
    PeImage image;
    ResourceTree tree;
    const bool ok = image.Parse(bytes) && image.ReadResources(tree) && image.WriteResources(tree);
    EXPECT_FALSE(ok) << what;
    EXPECT_FALSE(image.error().empty()) << what;
  }
  // Every cut of the file is refused or read without reading past its end.
  for (size_t n = 0; n < good.size(); n += 7) {
    PeImage image;
    ResourceTree tree;
    if (image.Parse(std::vector<uint8_t>(good.begin(), good.begin() + n)))
      image.ReadResources(tree);
  }
}

// The player template of the Windows build, when it has been built.
TEST(PeImageTest, TheRealTemplateTakesTheConvertersResourcesBesideItsPlaceholders) {
  const std::string path = CVA_TEMPLATE_PATH;
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "no template at " << path;
  PeImage image;
  ResourceTree tree;
  ASSERT_TRUE(image.Parse(testing::ReadBytes(path))) << image.error();
  ASSERT_TRUE(image.ReadResources(tree)) << image.error();
  auto& rcdata = tree[ResourceName::Id(pe::kRtRcData)];
  ASSERT_EQ(rcdata[ResourceName::Id(201)].count(24415), 1u);
  ASSERT_EQ(rcdata[ResourceName::Id(200)].count(24415), 1u);
  EXPECT_EQ(tree[ResourceName::Id(pe::kRtString)].count(ResourceName::Id(2501)), 1u);
  EXPECT_EQ(tree[ResourceName::Id(pe::kRtIcon)][ResourceName::Id(1)].count(1041), 1u);
  rcdata[ResourceName::Id(200)][1041].bytes = Pattern(100000);
  ASSERT_TRUE(image.WriteResources(tree)) << image.error();
  EXPECT_EQ(Reread(image.bytes()), tree);

#ifdef _WIN32
  // The system's own loader finds the new resource at its language and the placeholder at
  // its own.
  testing::TempDir dir;
  const std::string copy = dir.File("edited.exe");
  testing::WriteBytes(copy, image.bytes());
  HMODULE module = LoadLibraryExA(copy.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  for (WORD language : {WORD{1041}, WORD{24415}}) {
    HRSRC found = FindResourceExW(module, MAKEINTRESOURCEW(10), MAKEINTRESOURCEW(200), language);
    ASSERT_NE(found, nullptr) << language;
    EXPECT_EQ(SizeofResource(module, found),
              language == 1041 ? 100000u : rcdata[ResourceName::Id(200)][24415].bytes.size());
  }
  FreeLibrary(module);
#endif
}

}  // namespace
}  // namespace cva
