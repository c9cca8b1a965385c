// cvac: compiles the JSON form of a document (as cvadump writes it, or written by hand)
// into a ".cva" file.
#include <cstdio>
#include <string>

#include "document_json.h"
#include "file_io.h"

namespace {

const char kUsage[] =
    "usage: cvac IN.json -o OUT.cva\n"
    "  Compiles a document described in JSON. Errors name the JSON path of the value and\n"
    "  what was expected there. The JSON format is described in docs/document-json.md.\n";

int Usage(const char* problem) {
  if (problem) std::fprintf(stderr, "cvac: %s\n", problem);
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
  if (out.empty()) return Usage("no output file (-o OUT.cva)");

  std::string text, why;
  if (!cva::json::ReadWholeFile(in, text, why)) {
    std::fprintf(stderr, "cvac: cannot read '%s': %s\n", in.c_str(), why.c_str());
    return 1;
  }
  const cva::json::CompileResult compiled = cva::json::CompileDocument(text);
  if (!compiled.ok) {
    std::fprintf(stderr, "cvac: %s: %s\n", in.c_str(), compiled.error.c_str());
    return 1;
  }
  if (!cva::json::WriteWholeFile(out, std::string(compiled.bytes.begin(), compiled.bytes.end()),
                                 why)) {
    std::fprintf(stderr, "cvac: cannot write '%s': %s\n", out.c_str(), why.c_str());
    return 1;
  }
  return 0;
}
