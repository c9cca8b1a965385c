// Opens arbitrary bytes as an archive and decodes every member it lists.
#include <cstdint>
#include <vector>

#include "archive/lzp_archive.h"
#include "system/services.h"

namespace {
// Decoder diagnostics are expected here; keep them off the terminal.
class Quiet final : public cva::Services {
 public:
  Answer ShowMessage(const std::string&, const std::string&, Buttons) override {
    return Answer::kOk;
  }
  bool FileExists(const cva::EncodedText&) override { return false; }
  bool ReadFile(const cva::EncodedText&, std::vector<uint8_t>&) override { return false; }
  uint32_t TickCount() override { return 0; }
  std::string CurrentDirectory() override { return "."; }
  bool SetCurrentDirectory(const std::string&) override { return false; }
  void DebugOutput(const std::string&) override {}
  void ErrorOutput(const std::string&) override {}
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Quiet quiet;
  cva::SetSystemServices(&quiet);
  cva::LzpArchive archive;
  archive.OpenMemory({data, size});
  std::vector<uint8_t> out;
  for (const auto& entry : archive.entries()) archive.OpenMember(entry.name, out);
  return 0;
}
