#include "command_line.h"

#include <charconv>

namespace cva::play_tool {

const char* const kUsage =
    "usage: cvaplay INPUT [--label L] [--size WxH] [--fullscreen] [--fixed MS]\n"
    "               [--frames N] [--no-vsync] [--no-dialogs] [--stats]\n"
    "  Plays a document in a window with its sounds, taking the pointer, the mouse buttons\n"
    "  and the keys as the Windows player does; Escape or closing the window quits.\n"
    "  INPUT           a .cva document (its images and sounds are read beside it), an .lzp\n"
    "                  archive (the member named like the archive, or its only .cva), or a\n"
    "                  player .exe/.scr made by cvapack (its settings choose the window or\n"
    "                  full screen, the size, the pacing, the document and the start label)\n"
    "  --label L       start label (default \"default\", or the program's)\n"
    "  --size WxH      picture size (default: the document's stage size, or the program's)\n"
    "  --fullscreen    fill the screen, the picture scaled to fit with its aspect kept (the\n"
    "                  display mode is left alone)\n"
    "  --fixed MS      advance every frame by MS milliseconds (default: real time)\n"
    "  --frames N      stop advancing N frames after the one in which the document became\n"
    "                  current, and keep showing that picture (for captures)\n"
    "  --no-vsync      start frames one document frame duration apart instead of as the\n"
    "                  display's vertical sync paces them\n"
    "  --no-dialogs    messages on standard error only (also when CVAPLAY_NO_DIALOGS is set);\n"
    "                  the full-screen question is answered \"no\"\n"
    "  --stats         print the mean and longest frame time and the CPU time at exit\n"
    "  Messages always go to standard error as well. Exit status 1 when the input cannot be\n"
    "  played, 2 for a bad command line.\n";

namespace {

bool ParseInt(const std::string& text, int32_t low, int32_t& out) {
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, out);
  return ec == std::errc() && ptr == end && out >= low;
}

}  // namespace

bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& out, std::string& error) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool takes_value =
        arg == "--label" || arg == "--size" || arg == "--fixed" || arg == "--frames";
    if (takes_value && i + 1 >= args.size()) {
      error = arg + " needs a value";
      return false;
    }
    int32_t number = 0;
    if (arg == "--help" || arg == "-h") {
      out.help = true;
    } else if (arg == "--label") {
      out.label = args[++i];
    } else if (arg == "--size") {
      const std::string& value = args[++i];
      const size_t x = value.find('x');
      int32_t w = 0, h = 0;
      if (x == std::string::npos || !ParseInt(value.substr(0, x), 1, w) ||
          !ParseInt(value.substr(x + 1), 1, h) || w > 16384 || h > 16384) {
        error = "--size takes WxH, each side 1 to 16384";
        return false;
      }
      out.width = w;
      out.height = h;
    } else if (arg == "--fullscreen") {
      out.fullscreen = true;
    } else if (arg == "--fixed") {
      if (!ParseInt(args[++i], 1, number)) {
        error = "--fixed takes a number of milliseconds above 0";
        return false;
      }
      out.fixed_ms = number;
    } else if (arg == "--frames") {
      if (!ParseInt(args[++i], 1, number)) {
        error = "--frames takes a count above 0";
        return false;
      }
      out.frames = number;
    } else if (arg == "--no-dialogs") {
      out.no_dialogs = true;
    } else if (arg == "--no-vsync") {
      out.no_vsync = true;
    } else if (arg == "--stats") {
      out.stats = true;
    } else if (!arg.empty() && arg[0] == '-') {
      error = "unknown option " + arg;
      return false;
    } else if (out.input.empty()) {
      out.input = arg;
    } else {
      error = "only one input is played";
      return false;
    }
  }
  if (out.input.empty() && !out.help) {
    error = "no input given";
    return false;
  }
  return true;
}

}  // namespace cva::play_tool
