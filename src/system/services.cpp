#include "system/services.h"

#include <algorithm>

namespace cva {

Services& PlatformServices();  // defined by the platform's implementation

namespace {
Services* g_installed = nullptr;
std::string& ProgramNameStorage() {
  static std::string name = "cva";
  return name;
}
}  // namespace

Services& SystemServices() {
  return g_installed ? *g_installed : PlatformServices();
}
void SetSystemServices(Services* services) {
  g_installed = services;
}

std::unique_ptr<RandomAccessFile> Services::OpenFile(const EncodedText& name) {
  auto bytes = std::make_shared<std::vector<uint8_t>>();
  if (!ReadFile(name, *bytes)) return nullptr;
  return std::make_unique<MemoryFile>(std::move(bytes));
}

size_t MemoryFile::ReadAt(uint64_t offset, uint8_t* out, size_t count) {
  if (offset >= bytes_->size()) return 0;
  const size_t n = std::min<uint64_t>(count, bytes_->size() - offset);
  std::copy_n(bytes_->data() + offset, n, out);
  return n;
}

const std::string& ProgramName() {
  return ProgramNameStorage();
}
void SetProgramName(std::string name) {
  ProgramNameStorage() = std::move(name);
}

}  // namespace cva
