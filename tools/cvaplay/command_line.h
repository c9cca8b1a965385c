#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace cva::play_tool {

extern const char* const kUsage;

struct CommandLine {
  bool help = false;
  // A ".cva" document, an ".lzp" archive holding one, or a generated player ".exe"/".scr".
  std::string input;
  // Each overrides what the input (a program's settings record) asks for.
  std::optional<std::string> label;  // UTF-8
  std::optional<int32_t> width;
  std::optional<int32_t> height;
  bool fullscreen = false;
  std::optional<int32_t> fixed_ms;
  // After this many frames past the one in which the document became current, the player
  // stops advancing and the window keeps showing the last picture until it is closed.
  std::optional<int32_t> frames;
  // Messages go to standard error only, never into a dialog that waits for an answer (a
  // yes/no question then takes "no").
  bool no_dialogs = false;
  // Frames start one document frame duration apart and presents do not wait for the
  // display (what happens anyway where the display gives no vertical sync).
  bool no_vsync = false;
  // Mean and longest frame time and the process's CPU time, printed at exit.
  bool stats = false;
};

// Parses the arguments after the program name; false with `error` when they are not usable.
bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& out, std::string& error);

}  // namespace cva::play_tool
