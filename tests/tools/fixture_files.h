#pragma once

// The compiled test documents of tests/fixtures and their sources.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace cva::testing {

// Names (without extension) of every JSON fixture, sorted.
inline std::vector<std::string> FixtureNames() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(CVA_FIXTURE_SOURCE_DIR))
    if (entry.path().extension() == ".json") names.push_back(entry.path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}

inline std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string FixtureSource(const std::string& name) {
  return ReadText(std::string(CVA_FIXTURE_SOURCE_DIR) + "/" + name + ".json");
}

inline std::string CompiledPath(const std::string& name) {
  return std::string(CVA_FIXTURE_DIR) + "/" + name + ".cva";
}

inline std::vector<uint8_t> Compiled(const std::string& name) {
  const std::string text = ReadText(CompiledPath(name));
  return std::vector<uint8_t>(text.begin(), text.end());
}

}  // namespace cva::testing
