#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cva {
class InputState;
}

namespace cva::session {

// One scripted input event, fed to the player's input state before the frame it names runs.
struct InputEvent {
  enum class Kind : uint8_t { kMove, kDown, kUp, kStep };

  int32_t frame = 0;
  Kind kind = Kind::kMove;
  // The button bit of kDown and kUp (1 left, 2 right, 4 a key).
  int32_t button = 0;
  // The pointer position of kMove, in stage pixels.
  float x = 0.0f;
  float y = 0.0f;
  // The milliseconds per frame of kStep, from its frame on. Not input: the tool that plays
  // the script applies it to its clock (StepAt); ApplyInputEvents passes it by.
  uint32_t step_ms = 0;

  friend bool operator==(const InputEvent&, const InputEvent&) = default;
};

// Reads an input script: one event per line, the frame number first,
//   12 move 40 30      pointer to (40, 30)
//   12 down left       left button pressed (also: right, key)
//   15 up left         left button released
//   20 key down        a key pressed (also: key up; same as "down key" / "up key")
//   30 step 16         frames advance by 16 ms from this one on (0 to 60000)
// Blank lines and text after '#' are ignored. Frame numbers are 0 or more; events keep their
// order in the script (several may share a frame). Returns false with `error` naming the line
// at fault; `events` is then unspecified.
bool ParseInputScript(std::string_view text, std::vector<InputEvent>& events, std::string& error);

// Feeds the events of `frame` to `input`, in script order.
void ApplyInputEvents(const std::vector<InputEvent>& events, int32_t frame, InputState& input);

// The step the last step event of `frame` sets, or none.
std::optional<uint32_t> StepAt(const std::vector<InputEvent>& events, int32_t frame);

}  // namespace cva::session
