// Damaged archives: every cut and every single-byte change must end cleanly (run these under
// the sanitizer build), and whatever a damaged archive still yields must be honest.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "archive/archive_writer.h"
#include "archive/lzp_archive.h"
#include "support/recording_services.h"
#include "support/temp_dir.h"

namespace cva {
namespace {

struct Fixture {
  std::vector<uint8_t> archive;
  std::vector<std::pair<std::string, std::vector<uint8_t>>> members;
};

Fixture SmallArchive() {
  testing::TempDir dir;
  Fixture f;
  std::vector<uint8_t> text;
  for (int i = 0; i < 300; ++i) text.push_back(static_cast<uint8_t>("abcabcabd"[i % 9]));
  std::mt19937 rng(11);
  std::vector<uint8_t> noise(40);
  for (auto& b : noise) b = static_cast<uint8_t>(rng());
  f.members = {{"doc.cva", text}, {"img.png", noise}, {"e", {}}, {"one", {1}}};
  ArchiveWriter w;
  EXPECT_TRUE(w.Open(dir.File("s.lzp")));
  for (const auto& [name, bytes] : f.members) {
    testing::WriteBytes(dir.File(name), bytes);
    w.Add(name, dir.File(name));
  }
  EXPECT_TRUE(w.Finish());
  f.archive = testing::ReadBytes(dir.File("s.lzp"));
  return f;
}

bool IsPrefix(const std::vector<uint8_t>& part, const std::vector<uint8_t>& whole) {
  return part.size() <= whole.size() && std::equal(part.begin(), part.end(), whole.begin());
}

TEST(ArchiveDamage, EveryTruncationEndsCleanly) {
  testing::RecordingServices quiet;  // decoder diagnostics are recorded, not printed
  const Fixture f = SmallArchive();
  std::vector<uint8_t> out;
  for (size_t cut = 0; cut <= f.archive.size(); ++cut) {
    // A copy of exactly `cut` bytes, so the sanitizer sees any read past it.
    const std::vector<uint8_t> part(f.archive.begin(), f.archive.begin() + cut);
    LzpArchive a;
    a.OpenMemory(part);
    for (const auto& [name, bytes] : f.members) {
      if (a.OpenMember(name, out)) {
        // Cutting between blocks yields the blocks before the cut, never other bytes.
        EXPECT_TRUE(IsPrefix(out, bytes)) << name << " cut at " << cut;
      } else {
        EXPECT_TRUE(out.empty());
      }
    }
  }
}

TEST(ArchiveDamage, EverySingleByteChangeEndsCleanly) {
  testing::RecordingServices quiet;
  const Fixture f = SmallArchive();
  std::vector<uint8_t> out;
  int opened = 0;
  int refused = 0;
  for (size_t i = 0; i < f.archive.size(); ++i) {
    for (uint8_t flip : {0x01, 0x80, 0xFF}) {
      std::vector<uint8_t> bad = f.archive;
      bad[i] ^= flip;
      LzpArchive a;
      a.OpenMemory(bad);
      for (const auto& entry : a.entries()) {
        if (a.OpenMember(entry.name, out)) {
          ++opened;
          // A member that opens holds exactly what its headers promise.
          EXPECT_EQ(out.size(), a.ScanMember(entry.name)->size);
        } else {
          ++refused;
        }
      }
    }
  }
  EXPECT_GT(opened, 0);
  EXPECT_GT(refused, 0);
}

TEST(ArchiveDamage, RandomGarbageNeverHangsOrOverreads) {
  testing::RecordingServices quiet;
  std::mt19937 rng(5);
  std::vector<uint8_t> out;
  for (int round = 0; round < 2000; ++round) {
    std::vector<uint8_t> bytes = {'l', 'z', 'p', 0};
    const size_t n = rng() % 200;
    for (size_t i = 0; i < n; ++i) {
      // Bias towards small numbers and block magic so the parser gets deep.
      const uint32_t r = rng() % 8;
      bytes.push_back(r == 0   ? 'Z'
                      : r == 1 ? 'V'
                      : r < 5  ? static_cast<uint8_t>(rng() % 24)
                               : static_cast<uint8_t>(rng()));
    }
    LzpArchive a;
    a.OpenMemory(bytes);
    for (const auto& entry : a.entries()) a.OpenMember(entry.name, out);
  }
}

}  // namespace
}  // namespace cva
