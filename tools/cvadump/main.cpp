// cvadump: prints a ".cva" document as JSON that cvac compiles back to the same bytes, or a
// player settings record as JSON.
#include <cstdio>
#include <string>
#include <vector>

#include "document_json.h"
#include "file_io.h"
#include "settings_json.h"

namespace {

const char kUsage[] =
    "usage: cvadump IN.cva [-o OUT.json]\n"
    "       cvadump --settings RECORD [-o OUT.json]\n"
    "  Writes the document as JSON (to standard output unless -o is given). A document\n"
    "  that does not read completely is an error, reported with its byte offset and the\n"
    "  field being read. The JSON format is described in docs/document-json.md.\n"
    "  --settings reads a player settings record (the bytes of resource 201) the way the\n"
    "  player does and writes every setting, the defaults it kept and whether the player\n"
    "  would ask about full screen (docs/settings-json.md).\n";

int Usage(const char* problem) {
  if (problem) std::fprintf(stderr, "cvadump: %s\n", problem);
  std::fputs(kUsage, problem ? stderr : stdout);
  return problem ? 2 : 0;
}

// Writes `text` to `out`, or to standard output when no file is named.
int Write(const std::string& text, const std::string& out) {
  if (out.empty()) {
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() ||
        std::fflush(stdout) != 0) {
      std::fprintf(stderr, "cvadump: cannot write to standard output\n");
      return 1;
    }
    return 0;
  }
  std::string why;
  if (!cva::json::WriteWholeFile(out, text, why)) {
    std::fprintf(stderr, "cvadump: cannot write '%s': %s\n", out.c_str(), why.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string in, out;
  bool settings = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") return Usage(nullptr);
    if (arg == "--settings") {
      settings = true;
    } else if (arg == "-o") {
      if (++i >= argc) return Usage("-o needs a file name");
      if (!out.empty()) return Usage("-o given twice");
      out = argv[i];
    } else if (arg.size() > 1 && arg[0] == '-') {
      return Usage(("unknown option '" + arg + "'").c_str());
    } else if (in.empty()) {
      in = arg;
    } else {
      return Usage("only one input file");
    }
  }
  if (in.empty()) return Usage("no input file");

  std::string contents, why;
  if (!cva::json::ReadWholeFile(in, contents, why)) {
    std::fprintf(stderr, "cvadump: cannot read '%s': %s\n", in.c_str(), why.c_str());
    return 1;
  }
  const std::vector<uint8_t> bytes(contents.begin(), contents.end());
  if (settings) {
    const cva::json::SettingsDump record = cva::json::DumpSettings(bytes);
    if (!record.ok) {
      std::fprintf(stderr, "cvadump: %s: malformed settings record at byte offset %u: %s\n",
                   in.c_str(), record.offset, record.error.c_str());
      return 1;
    }
    return Write(record.json.dump(2) + "\n", out);
  }
  const cva::json::DumpResult dump = cva::json::DumpDocument(bytes);
  if (!dump.ok) {
    std::fprintf(stderr, "cvadump: %s: malformed at byte offset %u: %s\n", in.c_str(), dump.offset,
                 dump.error.c_str());
    return 1;
  }
  if (!dump.recognised)
    std::fprintf(stderr,
                 "cvadump: %s: note: not a document of the known magic and version; "
                 "the rest of the file is kept as trailing bytes\n",
                 in.c_str());
  return Write(dump.json, out);
}
