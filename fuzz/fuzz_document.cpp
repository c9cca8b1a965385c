// Arbitrary bytes as a document: the player's loader must read it or refuse it with a
// message, and a document it accepts must survive its first frame.
#include <cstdint>

#include "fuzz_support.h"
#include "render/record/recording_provider.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  cva::RecordingProvider graphics;
  cva::fuzz::MemoryPlayer play(graphics);
  play.services().files[cva::fuzz::kDocumentName].assign(data, data + size);
  if (play.Load(cva::fuzz::kDocumentName, [&] { graphics.Clear(); })) play.Advance();
  return 0;
}
