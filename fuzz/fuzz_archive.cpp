// Opens arbitrary bytes as an archive and decodes every member it lists.
#include <cstdint>
#include <vector>

#include "archive/lzp_archive.h"
#include "recording_services.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  cva::testing::RecordingServices quiet;  // diagnostics of bad data are expected: not shown
  cva::LzpArchive archive;
  archive.OpenMemory({data, size});
  std::vector<uint8_t> out;
  for (const auto& entry : archive.entries()) archive.OpenMember(entry.name, out);
  return 0;
}
