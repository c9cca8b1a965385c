// Archive decoding and writing against bare LZF loops over the same blocks, in one run.
// Prints, after the table, the ratio baseline time / archive time for both directions.
#include <benchmark/benchmark.h>
#include <lzf.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "archive/archive_writer.h"
#include "archive/lzp_archive.h"

namespace {

constexpr size_t kMemberSize = 8u << 20;
constexpr size_t kBlock = 65535;

// Text-like data with some noise: compresses to roughly a third, like documents do.
const std::vector<uint8_t>& Content() {
  static const std::vector<uint8_t> content = [] {
    std::vector<uint8_t> v(kMemberSize);
    std::mt19937 rng(1);
    const char* words[] = {"node ", "label ", "frame ", "sprite ", "alpha ", "0.5 ", "\n"};
    size_t i = 0;
    while (i < v.size()) {
      if (rng() % 16 == 0) {
        v[i++] = static_cast<uint8_t>(rng());
        continue;
      }
      for (const char* w = words[rng() % 7]; *w && i < v.size(); ++w) v[i++] = *w;
    }
    return v;
  }();
  return content;
}

std::string Dir() {
  static const std::string dir = [] {
    auto d = std::filesystem::temp_directory_path() / "cva-archive-bench";
    std::filesystem::create_directories(d);
    std::ofstream(d / "member.bin", std::ios::binary)
        .write(reinterpret_cast<const char*>(Content().data()), Content().size());
    return d.string();
  }();
  return dir;
}

const std::vector<uint8_t>& ArchiveBytes() {
  static const std::vector<uint8_t> bytes = [] {
    cva::ArchiveWriter w;
    w.Open(Dir() + "/a.lzp");
    w.Add("member.bin", Dir() + "/member.bin");
    w.Finish();
    std::ifstream in(Dir() + "/a.lzp", std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
  }();
  return bytes;
}

// The compressed blocks of the member, as the writer produced them.
struct Block {
  std::vector<uint8_t> data;
  unsigned size;
  bool compressed;
};
const std::vector<Block>& Blocks() {
  static const std::vector<Block> blocks = [] {
    std::vector<Block> out;
    const auto& a = ArchiveBytes();
    size_t p = 12 + std::strlen("member.bin") + 1;
    while (p < a.size() && a[p] != 0) {
      const bool c = a[p + 2] == 1;
      const unsigned len = (a[p + 3] << 8) | a[p + 4];
      const unsigned size = c ? (a[p + 5] << 8) | a[p + 6] : len;
      const size_t h = c ? 7 : 5;
      out.push_back({{a.begin() + p + h, a.begin() + p + h + len}, size, c});
      p += h + len;
    }
    return out;
  }();
  return blocks;
}

void BM_DecodeBareLzf(benchmark::State& state) {
  std::vector<uint8_t> block(kBlock + 23);
  std::vector<uint8_t> out(kMemberSize);
  for (auto _ : state) {
    size_t written = 0;
    for (const Block& b : Blocks()) {
      if (b.compressed) {
        lzf_decompress(b.data.data(), b.data.size(), block.data(), b.size);
        std::memcpy(out.data() + written, block.data(), b.size);
      } else {
        std::memcpy(out.data() + written, b.data.data(), b.size);
      }
      written += b.size;
    }
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * kMemberSize);
}

void BM_DecodeArchive(benchmark::State& state) {
  cva::LzpArchive archive;
  archive.OpenMemory(ArchiveBytes());
  std::vector<uint8_t> out;
  for (auto _ : state) {
    if (!archive.OpenMember("member.bin", out) || out.size() != kMemberSize)
      state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * kMemberSize);
}

void BM_WriteBareLzf(benchmark::State& state) {
  std::vector<uint8_t> out(kBlock + 7);
  for (auto _ : state) {
    size_t total = 0;
    for (size_t p = 0; p < kMemberSize; p += kBlock) {
      const unsigned n = static_cast<unsigned>(std::min(kBlock, kMemberSize - p));
      total += lzf_compress(Content().data() + p, n, out.data() + 7, n - 4);
    }
    benchmark::DoNotOptimize(total);
  }
  state.SetBytesProcessed(state.iterations() * kMemberSize);
}

// The bare loop again, reading its input from the file and writing its blocks to a file: the
// share of the writer's cost that is file I/O rather than framing.
void BM_WriteBareLzfFiles(benchmark::State& state) {
  const std::string dir = Dir();
  std::vector<uint8_t> in(kBlock);
  std::vector<uint8_t> out(kBlock + 7);
  for (auto _ : state) {
    std::FILE* src = std::fopen((dir + "/member.bin").c_str(), "rb");
    std::FILE* dst = std::fopen((dir + "/bare.out").c_str(), "wb");
    size_t n;
    while ((n = std::fread(in.data(), 1, kBlock, src)) > 0) {
      const unsigned c = lzf_compress(in.data(), n, out.data() + 7, n - 4);
      std::fwrite(out.data(), 1, c ? c + 7 : n + 5, dst);
    }
    std::fclose(src);
    std::fclose(dst);
  }
  state.SetBytesProcessed(state.iterations() * kMemberSize);
}

void BM_WriteArchive(benchmark::State& state) {
  const std::string dir = Dir();
  for (auto _ : state) {
    cva::ArchiveWriter w;
    if (!w.Open(dir + "/w.lzp") ||
        w.Add("member.bin", dir + "/member.bin") != cva::ArchiveWriter::AddResult::kAdded ||
        !w.Finish())
      state.SkipWithError("write failed");
  }
  state.SetBytesProcessed(state.iterations() * kMemberSize);
}

BENCHMARK(BM_DecodeBareLzf)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_DecodeArchive)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_WriteBareLzf)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_WriteBareLzfFiles)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_WriteArchive)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// Keeps each benchmark's time per iteration for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      const std::string name = r.benchmark_name();
      wall_[name.substr(0, name.find('/'))] = r.GetAdjustedRealTime();
      cpu_[name.substr(0, name.find('/'))] = r.GetAdjustedCPUTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void PrintRatio(const char* what, const char* baseline, const char* ours) {
    if (!wall_.count(baseline) || !wall_.count(ours)) return;
    std::printf(
        "%s: baseline/archive = %.3f by wall time (%.2f vs %.2f ms), %.3f by CPU time "
        "(%.2f vs %.2f ms) per %zu MiB\n",
        what, wall_[baseline] / wall_[ours], wall_[baseline], wall_[ours],
        cpu_[baseline] / cpu_[ours], cpu_[baseline], cpu_[ours], kMemberSize >> 20);
  }

 private:
  std::map<std::string, double> wall_;
  std::map<std::string, double> cpu_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const auto& a = ArchiveBytes();
  std::printf("member %zu bytes, archive %zu bytes, %zu blocks\n", kMemberSize, a.size(),
              Blocks().size());
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatio("decode", "BM_DecodeBareLzf", "BM_DecodeArchive");
  reporter.PrintRatio("write", "BM_WriteBareLzf", "BM_WriteArchive");
  reporter.PrintRatio("write, baseline with file I/O", "BM_WriteBareLzfFiles", "BM_WriteArchive");
  std::filesystem::remove_all(Dir());
  return 0;
}
