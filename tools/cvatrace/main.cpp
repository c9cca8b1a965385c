// cvatrace: plays a ".cva" document headlessly, the way the player does, and prints what every
// frame did as one JSON object per line.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "input_script.h"
#include "system/services.h"
#include "trace_json.h"
#include "trace_session.h"

namespace {

const char kUsage[] =
    "usage: cvatrace DOC.cva [--label NAME] [--frames N] [--dt MS | --fixed MS]\n"
    "                [--input SCRIPT] [--properties] [--text]\n"
    "  Plays the document without a window and prints one JSON object per frame (JSON\n"
    "  Lines): clock, label jumps, every node, every variable, the draw list and what was\n"
    "  drawn. Frame 0 is the frame in which the document became current.\n"
    "  --label NAME   start label (default \"default\")\n"
    "  --frames N     frames to print (default 60)\n"
    "  --fixed MS     every frame advances by MS milliseconds (the default, with 10)\n"
    "  --dt MS        real-time clock whose tick count moves by MS per frame\n"
    "  --input SCRIPT pointer and key events, one per line: '12 move 40 30', '12 down left',\n"
    "                 '15 up left', '20 key down' (buttons: left, right, key), and steps:\n"
    "                 '30 step 16' advances frames by 16 ms from frame 30 on\n"
    "  --properties   adds every node's property values, the image an image instance\n"
    "                 shows and the links of joints\n"
    "  --text         adds the laid-out text of text instances\n"
    "  Files the document names are looked up in its own directory. The output format is\n"
    "  described in docs/trace-format.md.\n";

int Usage(const std::string& problem) {
  if (!problem.empty()) std::fprintf(stderr, "cvatrace: %s\n", problem.c_str());
  std::fputs(kUsage, problem.empty() ? stdout : stderr);
  return problem.empty() ? 0 : 2;
}

// A whole decimal number from `min` to `max`.
bool ParseCount(const std::string& text, long min, long max, long& value) {
  if (text.empty() || text.size() > 10) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  value = std::stol(text);
  return value >= min && value <= max;
}

bool ReadText(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream out;
  out << in.rdbuf();
  text = out.str();
  return !in.bad();
}

}  // namespace

int main(int argc, char** argv) {
  cva::SetProgramName("cvatrace");
#ifdef _WIN32
  // Lines end in "\n" alone, as on Linux: traces of the two builds compare byte for byte.
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  cva::trace::TraceOptions options;
  std::string input_path;
  bool clock_given = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") return Usage("");
    const bool takes_value = arg == "--label" || arg == "--frames" || arg == "--dt" ||
                             arg == "--fixed" || arg == "--input";
    if (takes_value && i + 1 >= argc) return Usage(arg + " needs a value");
    long number = 0;
    if (arg == "--label") {
      options.label = argv[++i];
    } else if (arg == "--frames") {
      if (!ParseCount(argv[++i], 0, 1000000, number))
        return Usage("--frames takes a whole number from 0 to 1000000");
      options.frames = static_cast<int32_t>(number);
    } else if (arg == "--dt" || arg == "--fixed") {
      if (clock_given) return Usage("give one of --dt and --fixed");
      clock_given = true;
      if (!ParseCount(argv[++i], arg == "--fixed" ? 1 : 0, 60000, number))
        return Usage(arg + " takes whole milliseconds up to 60000" +
                     (arg == "--fixed" ? ", at least 1" : ""));
      options.clock = arg == "--dt" ? cva::trace::TraceOptions::Clock::kRealTime
                                    : cva::trace::TraceOptions::Clock::kFixed;
      options.step_ms = static_cast<uint32_t>(number);
    } else if (arg == "--input") {
      input_path = argv[++i];
    } else if (arg == "--properties") {
      options.properties = true;
    } else if (arg == "--text") {
      options.text = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return Usage("unknown option '" + arg + "'");
    } else if (options.document.empty()) {
      options.document = arg;
    } else {
      return Usage("only one document");
    }
  }
  if (options.document.empty()) return Usage("no document");

  if (!input_path.empty()) {
    std::string script, why;
    if (!ReadText(input_path, script)) {
      std::fprintf(stderr, "cvatrace: cannot read input script '%s'\n", input_path.c_str());
      return 1;
    }
    if (!cva::session::ParseInputScript(script, options.input, why)) {
      std::fprintf(stderr, "cvatrace: %s: %s\n", input_path.c_str(), why.c_str());
      return 1;
    }
  }

  const std::string document = options.document;
  cva::trace::TraceSession session(std::move(options));
  bool written = true;
  const bool ok = session.Run([&](const cva::trace::FrameTrace& frame) {
    const std::string line = cva::trace::FrameToJson(frame).dump(
                                 -1, ' ', false, nlohmann::json::error_handler_t::replace) +
                             "\n";
    written = written && std::fwrite(line.data(), 1, line.size(), stdout) == line.size();
  });
  if (!ok) {
    std::fprintf(stderr, "cvatrace: %s: %s\n", document.c_str(), session.error().c_str());
    return 1;
  }
  if (!written || std::fflush(stdout) != 0) {
    std::fprintf(stderr, "cvatrace: cannot write to standard output\n");
    return 1;
  }
  return 0;
}
