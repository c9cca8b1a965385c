// Arbitrary text as an input script of cvatrace and cvarender: parsed or refused with the
// line at fault, and the events of what parses applied to an input state.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "input_script.h"
#include "player/input_state.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<cva::session::InputEvent> events;
  std::string error;
  if (!cva::session::ParseInputScript(std::string_view(reinterpret_cast<const char*>(data), size),
                                      events, error))
    return 0;
  // The frames of the first events, as a player would meet them (each call scans the script).
  cva::InputState input;
  for (size_t i = 0; i < events.size() && i < 64; ++i) {
    cva::session::ApplyInputEvents(events, events[i].frame, input);
    cva::session::StepAt(events, events[i].frame);
  }
  return 0;
}
