#include "input_script.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "player/input_state.h"

namespace cva::session {
namespace {

// Positions beyond this are not pixels of any stage; refusing them keeps every value finite.
constexpr float kMaxCoordinate = 1.0e6f;

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

bool ParseInt(std::string_view word, int32_t& value) {
  auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  return ec == std::errc() && end == word.data() + word.size();
}

bool ParseCoordinate(std::string_view word, float& value) {
  // std::from_chars for floats is not available everywhere; strtof on a copy is enough here.
  std::string copy(word);
  char* end = nullptr;
  value = std::strtof(copy.c_str(), &end);
  return !copy.empty() && end == copy.c_str() + copy.size() && std::isfinite(value) &&
         std::fabs(value) <= kMaxCoordinate;
}

bool ButtonBit(std::string_view word, int32_t& bit) {
  if (word == "left")
    bit = InputState::kLeftButton;
  else if (word == "right")
    bit = InputState::kRightButton;
  else if (word == "key")
    bit = InputState::kKey;
  else
    return false;
  return true;
}

// Parses the words of one line into `event`; returns the reason when they do not form one.
std::string ParseEvent(const std::vector<std::string_view>& words, InputEvent& event) {
  if (!ParseInt(words[0], event.frame) || event.frame < 0)
    return "expected a frame number (0 or more) first";
  if (words.size() < 2) return "expected an event after the frame number";
  const std::string_view verb = words[1];
  if (verb == "move") {
    if (words.size() != 4) return "'move' takes two coordinates";
    event.kind = InputEvent::Kind::kMove;
    if (!ParseCoordinate(words[2], event.x) || !ParseCoordinate(words[3], event.y))
      return "'move' coordinates must be finite numbers up to 1e6 in size";
    return {};
  }
  if (verb == "step") {
    int32_t ms = -1;
    if (words.size() != 3 || !ParseInt(words[2], ms) || ms < 0 || ms > 60000)
      return "'step' takes whole milliseconds from 0 to 60000";
    event.kind = InputEvent::Kind::kStep;
    event.step_ms = static_cast<uint32_t>(ms);
    return {};
  }
  if (words.size() != 3)
    return "expected '<frame> down|up left|right|key', '<frame> move X Y' or '<frame> step MS'";
  std::string_view direction = verb, button = words[2];
  if (verb == "key") std::swap(direction, button);  // "20 key down"
  if (direction == "down")
    event.kind = InputEvent::Kind::kDown;
  else if (direction == "up")
    event.kind = InputEvent::Kind::kUp;
  else
    return "unknown event '" + std::string(verb) + "'";
  if (!ButtonBit(button, event.button))
    return "unknown button '" + std::string(button) + "' (left, right or key)";
  return {};
}

}  // namespace

bool ParseInputScript(std::string_view text, std::vector<InputEvent>& events, std::string& error) {
  events.clear();
  size_t line_number = 0;  // a script may hold more lines than an int counts
  while (!text.empty()) {
    ++line_number;
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (const size_t hash = line.find('#'); hash != std::string_view::npos)
      line = line.substr(0, hash);
    const std::vector<std::string_view> words = Words(line);
    if (words.empty()) continue;
    InputEvent event;
    if (std::string why = ParseEvent(words, event); !why.empty()) {
      error = "line " + std::to_string(line_number) + ": " + why;
      return false;
    }
    events.push_back(event);
  }
  return true;
}

void ApplyInputEvents(const std::vector<InputEvent>& events, int32_t frame, InputState& input) {
  for (const InputEvent& event : events) {
    if (event.frame != frame) continue;
    switch (event.kind) {
      case InputEvent::Kind::kMove:
        input.MoveTo(event.x, event.y);
        break;
      case InputEvent::Kind::kDown:
        input.SetButton(event.button, true);
        break;
      case InputEvent::Kind::kUp:
        input.SetButton(event.button, false);
        break;
      case InputEvent::Kind::kStep:
        break;
    }
  }
}

std::optional<uint32_t> StepAt(const std::vector<InputEvent>& events, int32_t frame) {
  std::optional<uint32_t> step;
  for (const InputEvent& event : events)
    if (event.frame == frame && event.kind == InputEvent::Kind::kStep) step = event.step_ms;
  return step;
}

}  // namespace cva::session
