#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "player/player_settings.h"

namespace cva::pack_tool {

// Everything the command line asks for; unset fields take the converter dialog's defaults.
struct CommandLine {
  std::string document;
  std::string output;
  std::optional<std::string> label;  // UTF-8
  std::string title = "Corvane Animation";
  std::string icon;
  ScreenMode screen_mode = ScreenMode::kWindow;
  bool data_inside = true;
  bool fixed_step = false;  // the dialog starts with real-time pacing
  int32_t step = 17;        // written even with real-time pacing, as the dialog does
  std::optional<std::pair<int32_t, int32_t>> size;  // default: the document's stage size
  std::string template_file;
  bool help = false;
};

extern const char kUsage[];

// Reads the arguments after the program name. False with `error` for a bad command line.
bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& out, std::string& error);

}  // namespace cva::pack_tool
