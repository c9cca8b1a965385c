#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "archive/archive_writer.h"
#include "archive/lzp_archive.h"
#include "support/recording_services.h"
#include "support/temp_dir.h"

namespace cva {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

std::vector<uint8_t> RandomBytes(size_t n, uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<uint8_t> out(n);
  for (auto& b : out) b = static_cast<uint8_t>(rng());
  return out;
}

std::vector<uint8_t> TextBytes(size_t n) {
  static const char kWords[] = "the stage clears to black while the label jumps again ";
  std::vector<uint8_t> out(n);
  std::mt19937 rng(7);
  for (size_t i = 0; i < n; ++i) out[i] = kWords[(i + rng() % 3) % (sizeof kWords - 1)];
  return out;
}

// Packs (name, bytes) pairs through files in `dir` and returns the archive's bytes.
std::vector<uint8_t> Pack(const TempDir& dir,
                          const std::vector<std::pair<std::string, std::vector<uint8_t>>>& files) {
  ArchiveWriter writer;
  const std::string archive = dir.File("out.lzp");
  EXPECT_TRUE(writer.Open(archive));
  for (const auto& [name, bytes] : files) {
    WriteBytes(dir.File(name), bytes);
    EXPECT_EQ(writer.Add(name, dir.File(name)), ArchiveWriter::AddResult::kAdded);
  }
  EXPECT_TRUE(writer.Finish()) << writer.error();
  EXPECT_FALSE(std::filesystem::exists(archive + ".tmp"));
  return ReadBytes(archive);
}

TEST(Archive, RoundTripOfAssortedSizes) {
  TempDir dir;
  const std::vector<std::pair<std::string, std::vector<uint8_t>>> files = {
      {"empty", {}},
      {"one", {42}},
      {"m65535", RandomBytes(65535, 1)},
      {"m65536", TextBytes(65536)},
      {"random.bin", RandomBytes(1 << 20, 2)},
      {"text.txt", TextBytes(1 << 20)},
  };
  const std::vector<uint8_t> archive_bytes = Pack(dir, files);

  // The same archive through both sources.
  LzpArchive memory;
  memory.OpenMemory(archive_bytes);
  LzpArchive file;
  ASSERT_TRUE(file.OpenFile(dir.File("out.lzp")));
  for (LzpArchive* a : {&memory, &file}) {
    EXPECT_TRUE(a->has_magic());
    EXPECT_TRUE(a->table_complete());
    EXPECT_EQ(a->member_count(), 6);
    std::vector<uint8_t> out;
    for (const auto& [name, bytes] : files) {
      ASSERT_TRUE(a->OpenMember(name, out)) << name;
      EXPECT_TRUE(out == bytes) << name;
    }
  }
  EXPECT_EQ(memory.source_kind(), LzpArchive::SourceKind::kMemory);
  EXPECT_EQ(file.source_kind(), LzpArchive::SourceKind::kFile);

  // Block counts follow the 65535-byte block size.
  EXPECT_EQ(memory.ScanMember("empty")->blocks, 0u);
  EXPECT_EQ(memory.ScanMember("m65535")->blocks, 1u);
  EXPECT_EQ(memory.ScanMember("m65536")->blocks, 2u);
  EXPECT_EQ(memory.ScanMember("random.bin")->blocks, 17u);
  // Random data cannot shrink, so it is stored; text compresses.
  EXPECT_GT(archive_bytes.size(), (1u << 20) * 2 - (1u << 20) / 2);
}

TEST(Archive, WriterLayout) {
  TempDir dir;
  const std::vector<uint8_t> bytes = Pack(dir, {{"base.cva", {}}});
  // magic, count 1, offset 12, name, its zero, the end mark and no block
  const std::vector<uint8_t> expected = {'l', 'z', 'p', 0,   0,   0,   0,   1,   0,   0, 0,
                                         12,  'b', 'a', 's', 'e', '.', 'c', 'v', 'a', 0, 0};
  EXPECT_EQ(bytes, expected);

  // 65536 bytes of noise: a full stored block, then a 1-byte stored block.
  const std::vector<uint8_t> two = Pack(dir, {{"n", RandomBytes(65536, 3)}});
  const size_t first = 8 + 4 + 2;  // header, table, "n" and its zero
  EXPECT_EQ(std::vector<uint8_t>(two.begin() + first, two.begin() + first + 5),
            (std::vector<uint8_t>{'Z', 'V', 0, 0xFF, 0xFF}));
  const size_t second = first + 5 + 65535;
  EXPECT_EQ(std::vector<uint8_t>(two.begin() + second, two.end()),
            (std::vector<uint8_t>{'Z', 'V', 0, 0, 1, two[second + 5], 0}));

  // Four bytes may not grow, so they are stored; 64 equal bytes compress.
  const std::vector<uint8_t> small =
      Pack(dir, {{"s", {1, 2, 3, 4}}, {"z", std::vector<uint8_t>(64, 9)}});
  EXPECT_EQ(small[8 + 8 + 2 + 2], 0);  // "s": stored block type
  const size_t z = 8 + 8 + 2 + (5 + 4 + 1) + 2;
  EXPECT_EQ(small[z + 2], 1);  // "z": compressed block type
  EXPECT_EQ((small[z + 5] << 8) | small[z + 6], 64);
}

TEST(Archive, NamesMatchExactlyAndFirstOfANameWins) {
  TempDir dir;
  ArchiveWriter writer;
  ASSERT_TRUE(writer.Open(dir.File("a.lzp")));
  WriteBytes(dir.File("first"), {1});
  WriteBytes(dir.File("second"), {2});
  writer.Add("base.cva", dir.File("first"));
  writer.Add("base.cva", dir.File("second"));
  ASSERT_TRUE(writer.Finish());
  LzpArchive a;
  ASSERT_TRUE(a.OpenFile(dir.File("a.lzp")));
  EXPECT_EQ(a.entries().size(), 2u);
  std::vector<uint8_t> out;
  ASSERT_TRUE(a.OpenMember("base.cva", out));
  EXPECT_EQ(out, std::vector<uint8_t>{1});
  EXPECT_FALSE(a.OpenMember("Base.cva", out));
  EXPECT_FALSE(a.OpenMember("base.cv", out));
  EXPECT_TRUE(out.empty());
}

TEST(Archive, UnreadableMemberIsSkippedWholeAndReported) {
  TempDir dir;
  ArchiveWriter writer;
  ASSERT_TRUE(writer.Open(dir.File("a.lzp")));
  WriteBytes(dir.File("x"), {7, 7});
  EXPECT_EQ(writer.Add("x", dir.File("x")), ArchiveWriter::AddResult::kAdded);
  EXPECT_EQ(writer.Add("gone.png", dir.File("gone.png")), ArchiveWriter::AddResult::kSkipped);
  EXPECT_THAT(writer.error(), ::testing::HasSubstr("gone.png"));
  WriteBytes(dir.File("y"), {8});
  EXPECT_EQ(writer.Add("y", dir.File("y")), ArchiveWriter::AddResult::kAdded);
  ASSERT_TRUE(writer.Finish());
  LzpArchive a;
  ASSERT_TRUE(a.OpenFile(dir.File("a.lzp")));
  EXPECT_EQ(a.member_count(), 2);
  std::vector<uint8_t> out;
  EXPECT_FALSE(a.OpenMember("gone.png", out));
  ASSERT_TRUE(a.OpenMember("y", out));
  EXPECT_EQ(out, std::vector<uint8_t>{8});
}

TEST(Archive, WriterReportsUncreatableFiles) {
  TempDir dir;
  ArchiveWriter writer;
  EXPECT_FALSE(writer.Open(dir.File("no/such/dir/a.lzp")));
  EXPECT_THAT(writer.error(), ::testing::HasSubstr("a.lzp.tmp"));
  EXPECT_EQ(writer.Add("x"), ArchiveWriter::AddResult::kFailed);
  EXPECT_FALSE(writer.Finish());
}

// Builds an archive by hand around one member's block stream.
std::vector<uint8_t> OneMember(const std::vector<uint8_t>& stream) {
  std::vector<uint8_t> a = {'l', 'z', 'p', 0, 0, 0, 0, 1, 0, 0, 0, 12, 'm', 0};
  a.insert(a.end(), stream.begin(), stream.end());
  return a;
}

TEST(BlockStream, HandBuiltFraming) {
  testing::RecordingServices services;
  SetProgramName("cvatest");
  LzpArchive a;
  std::vector<uint8_t> out;
  struct Case {
    std::vector<uint8_t> stream;
    bool opens;
    std::vector<uint8_t> content;
  };
  const std::vector<Case> cases = {
      // A 1-byte stored block leaves read-ahead header bytes that start the next header.
      {{'Z', 'V', 0, 0, 1, 'x', 'Z', 'V', 0, 0, 2, 'y', 'z', 0}, true, {'x', 'y', 'z'}},
      // No end mark after the last block: still complete.
      {{'Z', 'V', 0, 0, 2, 'a', 'b'}, true, {'a', 'b'}},
      // No blocks at all.
      {{0}, true, {}},
      {{}, true, {}},
      // Bad magic, unknown type, zero length, truncated payload.
      {{'Z', 'X', 0, 0, 1, 'a', 0}, false, {}},
      {{'Z', 'V', 2, 0, 1, 'a', 0}, false, {}},
      {{'Z', 'V', 0, 0, 0, 0}, false, {}},
      {{'Z', 'V', 0, 0, 9, 'a', 'b'}, false, {}},
      // A compressed block claiming 65535 bytes from 1 byte of data.
      {{'Z', 'V', 1, 0, 1, 0xFF, 0xFF, 0x00, 0}, false, {}},
      // A compressed block whose data does not expand to its claimed size.
      {{'Z', 'V', 1, 0, 2, 0, 5, 0x00, 'a', 0}, false, {}},
  };
  for (size_t i = 0; i < cases.size(); ++i) {
    const std::vector<uint8_t> bytes = OneMember(cases[i].stream);  // must outlive the open
    a.OpenMemory(bytes);
    EXPECT_EQ(a.OpenMember("m", out), cases[i].opens) << i;
    EXPECT_EQ(out, cases[i].content) << i;
  }
  ASSERT_FALSE(services.errors.empty());
  EXPECT_EQ(services.errors.back(), "cvatest: decompress: invalid stream - data corrupted\n");
}

TEST(ArchiveTable, DamagedTablesKeepWhatWasRead) {
  LzpArchive a;
  std::vector<uint8_t> out;
  // Wrong magic: no members.
  a.OpenMemory(std::vector<uint8_t>{'L', 'Z', 'P', 0, 0, 0, 0, 1, 0, 0, 0, 12, 'm', 0, 0});
  EXPECT_FALSE(a.has_magic());
  EXPECT_EQ(a.member_count(), 0);
  // Negative count reads as 0.
  a.OpenMemory(std::vector<uint8_t>{'l', 'z', 'p', 0, 0x80, 0, 0, 1});
  EXPECT_EQ(a.member_count(), 0);
  EXPECT_TRUE(a.entries().empty());
  // Second entry points past the end; third has no terminated name: the first stays usable.
  const std::vector<uint8_t> two = {'l', 'z',  'p', 0, 0, 0, 0,   3, 0,   0,   0,
                                    20,  0x7F, 0,   0, 0, 0, 0,   0, 25,  'o', 'k',
                                    0,   'Z',  'V', 0, 0, 1, '!', 0, 'n', 'o'};
  a.OpenMemory(two);
  EXPECT_EQ(a.member_count(), 3);
  EXPECT_FALSE(a.table_complete());
  ASSERT_EQ(a.entries().size(), 1u);
  ASSERT_TRUE(a.OpenMember("ok", out));
  EXPECT_EQ(out, std::vector<uint8_t>{'!'});
  // A huge count with a small table ends at the first missing entry, without hanging.
  a.OpenMemory(
      std::vector<uint8_t>{'l', 'z', 'p', 0, 0x7F, 0xFF, 0xFF, 0xFF, 0, 0, 0, 12, 'm', 0, 0});
  EXPECT_EQ(a.entries().size(), 1u);
  EXPECT_FALSE(a.table_complete());
}

TEST(ArchiveTable, UnterminatedLongNameEndsTheTable) {
  // Every entry points at the same long name without a zero; each must give up quickly.
  std::vector<uint8_t> bytes = {'l', 'z', 'p', 0, 0, 0, 0x40, 0};  // 16384 entries
  for (int i = 0; i < 0x4000; ++i) bytes.insert(bytes.end(), {0, 1, 0, 8});
  bytes.resize(bytes.size() + (1 << 20), 'a');
  LzpArchive a;
  a.OpenMemory(bytes);
  EXPECT_TRUE(a.entries().empty());
  EXPECT_FALSE(a.table_complete());
}

}  // namespace
}  // namespace cva
