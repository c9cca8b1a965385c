#include "command_line.h"

#include <charconv>

namespace cva::render_tool {
namespace {

bool ParseNumber(std::string_view text, uint32_t min, uint32_t max, uint32_t& value) {
  if (text.empty() || text.size() > 10) return false;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() && value >= min && value <= max;
}

bool ParseSize(std::string_view text, ImageSize& size) {
  const size_t x = text.find('x');
  uint32_t w = 0, h = 0;
  if (x == std::string_view::npos || !ParseNumber(text.substr(0, x), 1, 16384, w) ||
      !ParseNumber(text.substr(x + 1), 1, 16384, h))
    return false;
  size = {static_cast<int32_t>(w), static_cast<int32_t>(h)};
  return true;
}

}  // namespace

const char kUsage[] =
    "usage: cvarender DOC.cva|ARCHIVE.lzp [--label L] [--size WxH] [--fixed MS]\n"
    "                 [--frames A..B | --at MS,...] [--input SCRIPT] [--threads N]\n"
    "                 [--out DIR] [--gif FILE] [--sheet FILE]\n"
    "  Plays the document without a window through the software renderer and keeps\n"
    "  pictures of the frames asked for. Frame 0 is the frame in which the document\n"
    "  became current; every frame advances the clock by the fixed step.\n"
    "  --label L       start label (default \"default\")\n"
    "  --size WxH      frame size in pixels (default: the document's stage size)\n"
    "  --fixed MS      milliseconds per frame (default: the document's frame duration)\n"
    "  --frames A..B   keep frames A to B (default 0..59)\n"
    "  --at MS,...     keep the first frame at or after each moment (ms after frame 0)\n"
    "  --input SCRIPT  pointer and key events, one per line, as cvatrace reads them:\n"
    "                  '12 move 40 30', '12 down left', '15 up left', '20 key down'\n"
    "  --out DIR       write the frames as PNG files (frame_NNNNN.png or at_NNNNNNms.png)\n"
    "  --gif FILE      write the frames as a looping animated GIF with their real delays\n"
    "  --sheet FILE    write a contact sheet PNG of the frames\n"
    "  --threads N     rasterize with N threads, 1 to 16 (default: one per core); the\n"
    "                  pictures are the same for every N\n"
    "  At least one of --out, --gif and --sheet is needed. An archive is read for the\n"
    "  document named like it with \".cva\" (or its only .cva member) and its images.\n";

bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& out, std::string& error) {
  bool frames_given = false;
  bool at_given = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      out.help = true;
      return true;
    }
    const bool takes_value = arg == "--label" || arg == "--size" || arg == "--fixed" ||
                             arg == "--frames" || arg == "--at" || arg == "--input" ||
                             arg == "--out" || arg == "--gif" || arg == "--sheet" ||
                             arg == "--threads";
    if (takes_value && i + 1 >= args.size()) {
      error = arg + " needs a value";
      return false;
    }
    if (arg == "--label") {
      out.render.label = args[++i];
    } else if (arg == "--size") {
      ImageSize size;
      if (!ParseSize(args[++i], size)) {
        error = "--size takes WxH, each from 1 to 16384 (e.g. 320x240)";
        return false;
      }
      out.render.size = size;
    } else if (arg == "--fixed") {
      uint32_t ms = 0;
      if (!ParseNumber(args[++i], 1, 60000, ms)) {
        error = "--fixed takes whole milliseconds from 1 to 60000";
        return false;
      }
      out.render.step_ms = ms;
    } else if (arg == "--threads") {
      uint32_t threads = 0;
      if (!ParseNumber(args[++i], 1, 16, threads)) {
        error = "--threads takes a whole number from 1 to 16";
        return false;
      }
      out.render.threads = static_cast<int32_t>(threads);
    } else if (arg == "--frames") {
      frames_given = true;
      out.frames.kind = FrameRequest::Kind::kRange;
      if (!ParseFrameRange(args[++i], out.frames.first, out.frames.last, error)) return false;
    } else if (arg == "--at") {
      at_given = true;
      out.frames.kind = FrameRequest::Kind::kTimes;
      if (!ParseTimes(args[++i], out.frames.times_ms, error)) return false;
    } else if (arg == "--input") {
      out.input_script = args[++i];
    } else if (arg == "--out") {
      out.out_dir = args[++i];
    } else if (arg == "--gif") {
      out.gif = args[++i];
    } else if (arg == "--sheet") {
      out.sheet = args[++i];
    } else if (arg.size() > 1 && arg[0] == '-') {
      error = "unknown option '" + arg + "'";
      return false;
    } else if (out.render.input.empty()) {
      out.render.input = arg;
    } else {
      error = "only one document";
      return false;
    }
  }
  if (frames_given && at_given) {
    error = "give one of --frames and --at";
    return false;
  }
  if (out.render.input.empty()) {
    error = "no document";
    return false;
  }
  if (out.out_dir.empty() && out.gif.empty() && out.sheet.empty()) {
    error = "nothing to write: give --out, --gif or --sheet";
    return false;
  }
  return true;
}

}  // namespace cva::render_tool
