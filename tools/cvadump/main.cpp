// cvadump: prints a ".cva" document as JSON that cvac compiles back to the same bytes.
#include <cstdio>
#include <string>
#include <vector>

#include "document_json.h"
#include "file_io.h"

namespace {

const char kUsage[] =
    "usage: cvadump IN.cva [-o OUT.json]\n"
    "  Writes the document as JSON (to standard output unless -o is given). A document\n"
    "  that does not read completely is an error, reported with its byte offset and the\n"
    "  field being read. The JSON format is described in docs/document-json.md.\n";

int Usage(const char* problem) {
  if (problem) std::fprintf(stderr, "cvadump: %s\n", problem);
  std::fputs(kUsage, problem ? stderr : stdout);
  return problem ? 2 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string in, out;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") return Usage(nullptr);
    if (arg == "-o") {
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
  if (out.empty()) {
    if (std::fwrite(dump.json.data(), 1, dump.json.size(), stdout) != dump.json.size() ||
        std::fflush(stdout) != 0) {
      std::fprintf(stderr, "cvadump: cannot write to standard output\n");
      return 1;
    }
    return 0;
  }
  if (!cva::json::WriteWholeFile(out, dump.json, why)) {
    std::fprintf(stderr, "cvadump: cannot write '%s': %s\n", out.c_str(), why.c_str());
    return 1;
  }
  return 0;
}
