#pragma once

#include <string>
#include <vector>

#include "frame_plan.h"
#include "render_session.h"

namespace cva::render_tool {

// Everything the command line asks for.
struct CommandLine {
  RenderOptions render;
  FrameRequest frames{FrameRequest::Kind::kRange, 0, 59, {}};
  std::string input_script;  // path, empty for none
  std::string out_dir;       // PNG frames; empty for none
  std::string gif;           // animated GIF; empty for none
  std::string sheet;         // contact sheet PNG; empty for none
  bool help = false;
};

extern const char kUsage[];

// Reads the arguments after the program name. False with `error` for a bad command line
// (unknown option, missing or malformed value, no input or no output).
bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& out, std::string& error);

}  // namespace cva::render_tool
