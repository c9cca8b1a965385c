// A document played for a bounded number of frames with a pointer that moves, clicks and
// presses keys, so that controllers, tracks, hit tests, text layout and instances all run on
// whatever the loader accepted. The input is the document followed by a pointer script of
// kScriptBytes bytes (see PointerScriptOf).
#include <cstdint>
#include <span>

#include "fuzz_support.h"
#include "render/record/recording_provider.h"

namespace {
constexpr size_t kScriptBytes = 24;
constexpr int32_t kFrames = 32;  // the frames a pointer script can name
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> input(data, size);
  const size_t script_bytes = size >= kScriptBytes ? kScriptBytes : 0;
  const auto document = input.first(size - script_bytes);
  const auto events = cva::fuzz::PointerScriptOf(input.last(script_bytes));

  cva::RecordingProvider graphics;
  cva::fuzz::MemoryPlayer play(graphics);
  play.services().files[cva::fuzz::kDocumentName].assign(document.begin(), document.end());
  if (!play.Load(cva::fuzz::kDocumentName, [&] { graphics.Clear(); })) return 0;
  for (int32_t frame = 0; frame < kFrames; ++frame) {
    cva::session::ApplyInputEvents(events, frame, play.player().input());
    graphics.Clear();
    play.Advance();
  }
  return 0;
}
