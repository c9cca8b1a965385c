#include "command_line.h"

#include <charconv>

namespace cva::pack_tool {
namespace {

bool ParseNumber(std::string_view text, int32_t min, int32_t max, int32_t& value) {
  if (text.empty() || text.size() > 10) return false;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() && value >= min && value <= max;
}

}  // namespace

const char kUsage[] =
    "usage: cvapack DOC.cva -o OUT.exe|OUT.scr [--label L] [--title T] [--icon FILE.ico]\n"
    "               [--window | --fullscreen | --ask] [--files-beside]\n"
    "               [--fixed MS | --real-time] [--size WxH] [--template FILE]\n"
    "       cvapack inspect PLAYER.exe|PLAYER.scr\n"
    "  Makes a stand-alone player (.exe) or a screen saver (.scr) that plays the document:\n"
    "  a copy of the player template with the settings, the document and its images, the\n"
    "  title and the icon written into its resources. Defaults are the converter dialog's.\n"
    "  -o OUT          the program to write; its extension chooses the template\n"
    "  --label L       start label (default \"default\", which the document must have)\n"
    "  --title T       window title (default \"Corvane Animation\")\n"
    "  --icon FILE     icon file holding a 32 x 32 image (default: the template's icons)\n"
    "  --window        play in a window (default); --fullscreen: full screen;\n"
    "  --ask           ask at start\n"
    "  --files-beside  keep the document and images as files beside the program instead of\n"
    "                  inside it\n"
    "  --real-time     advance by the real elapsed time (default); --fixed MS: by MS\n"
    "                  milliseconds a frame\n"
    "  --size WxH      stage resolution (default: the document's stage size)\n"
    "  --template FILE the template to copy (default: cvaplay.exe or cvasaver.scr from a\n"
    "                  data folder beside cvapack, from ../share/cva/data beside it, or from\n"
    "                  the Windows build tree)\n"
    "  The resource writer's diagnostic lines go to standard output.\n"
    "  inspect prints as JSON what a generated program (or a template) carries: its settings\n"
    "  records, archives with their members, titles and icons, at every language, and\n"
    "  every resource (docs/settings-json.md).\n";

bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& out, std::string& error) {
  int screen_modes = 0, pacings = 0;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      out.help = true;
      return true;
    }
    const bool takes_value = arg == "-o" || arg == "--label" || arg == "--title" ||
                             arg == "--icon" || arg == "--fixed" || arg == "--size" ||
                             arg == "--template";
    if (takes_value && i + 1 >= args.size()) {
      error = arg + " needs a value";
      return false;
    }
    if (arg == "-o") {
      out.output = args[++i];
    } else if (arg == "--label") {
      out.label = args[++i];
    } else if (arg == "--title") {
      out.title = args[++i];
    } else if (arg == "--icon") {
      out.icon = args[++i];
    } else if (arg == "--template") {
      out.template_file = args[++i];
    } else if (arg == "--window" || arg == "--fullscreen" || arg == "--ask") {
      ++screen_modes;
      out.screen_mode = arg == "--window"       ? ScreenMode::kWindow
                        : arg == "--fullscreen" ? ScreenMode::kFullScreen
                                                : ScreenMode::kAsk;
    } else if (arg == "--files-beside") {
      out.data_inside = false;
    } else if (arg == "--real-time") {
      ++pacings;
      out.fixed_step = false;
    } else if (arg == "--fixed") {
      ++pacings;
      out.fixed_step = true;
      if (!ParseNumber(args[++i], 1, 60000, out.step)) {
        error = "--fixed takes whole milliseconds from 1 to 60000";
        return false;
      }
    } else if (arg == "--size") {
      const std::string& text = args[++i];
      const size_t x = text.find('x');
      int32_t w = 0, h = 0;
      if (x == std::string::npos ||
          !ParseNumber(std::string_view(text).substr(0, x), 1, 16384, w) ||
          !ParseNumber(std::string_view(text).substr(x + 1), 1, 16384, h)) {
        error = "--size takes WxH, each from 1 to 16384 (e.g. 800x600)";
        return false;
      }
      out.size = {{w, h}};
    } else if (arg.size() > 1 && arg[0] == '-') {
      error = "unknown option '" + arg + "'";
      return false;
    } else if (out.document.empty()) {
      out.document = arg;
    } else {
      error = "only one document";
      return false;
    }
  }
  if (screen_modes > 1) {
    error = "give one of --window, --fullscreen and --ask";
    return false;
  }
  if (pacings > 1) {
    error = "give one of --fixed and --real-time";
    return false;
  }
  if (out.document.empty()) {
    error = "no document";
    return false;
  }
  if (out.output.empty()) {
    error = "no output: give -o OUT.exe or -o OUT.scr";
    return false;
  }
  return true;
}

}  // namespace cva::pack_tool
