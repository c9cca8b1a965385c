// lzp: packs files into an archive of the players' format, lists, extracts and prints members.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "archive/archive_writer.h"
#include "archive/lzp_archive.h"
#include "system/services.h"

namespace fs = std::filesystem;
using cva::ArchiveWriter;
using cva::LzpArchive;

namespace {

const char kUsage[] =
    "usage: lzp create OUT.lzp [-C DIR] FILE...   pack files (member names as given,\n"
    "                                             read relative to DIR)\n"
    "       lzp list A.lzp                        name, size and blocks of every member\n"
    "       lzp extract A.lzp [NAME...] [-C DIR]  write members (all by default) under DIR\n"
    "       lzp cat A.lzp NAME                    write one member to standard output\n"
    "       lzp --help\n";

int Usage(const char* problem) {
  if (problem) std::fprintf(stderr, "lzp: %s\n", problem);
  std::fputs(kUsage, problem ? stderr : stdout);
  return problem ? 2 : 0;
}

int Error(const std::string& message) {
  std::fprintf(stderr, "lzp: %s\n", message.c_str());
  return 1;
}

// Splits "-C DIR" out of the arguments after the archive name.
bool TakeDirectory(std::vector<std::string>& args, std::string& dir) {
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] != "-C") continue;
    if (i + 1 >= args.size()) return false;
    dir = args[i + 1];
    args.erase(args.begin() + i, args.begin() + i + 2);
    --i;
  }
  return true;
}

bool OpenArchive(LzpArchive& archive, const std::string& path, int& status) {
  if (!archive.OpenFile(path)) {
    status = Error("cannot open '" + path + "': " + std::strerror(errno));
    return false;
  }
  if (!archive.has_magic()) {
    status = Error("'" + path + "' is not an lzp archive (bad magic)");
    return false;
  }
  if (!archive.table_complete())
    std::fprintf(stderr,
                 "lzp: warning: '%s': member table damaged after %zu of %d entries; "
                 "listing what could be read\n",
                 path.c_str(), archive.entries().size(), archive.member_count());
  return true;
}

int Create(const std::string& out, std::vector<std::string> args) {
  std::string dir;
  if (!TakeDirectory(args, dir)) return Usage("-C needs a directory");
  if (args.empty()) return Usage("create needs at least one FILE");
  ArchiveWriter writer;
  if (!writer.Open(out)) return Error(writer.error());
  int problems = 0;
  for (const std::string& name : args) {
    const std::string path = dir.empty() ? name : (fs::path(dir) / name).string();
    switch (writer.Add(name, path)) {
      case ArchiveWriter::AddResult::kAdded:
        break;
      case ArchiveWriter::AddResult::kSkipped:
        std::fprintf(stderr, "lzp: %s; '%s' skipped, not in the archive\n", writer.error().c_str(),
                     name.c_str());
        ++problems;
        break;
      case ArchiveWriter::AddResult::kFailed:
        std::fprintf(stderr, "lzp: %s\n", writer.error().c_str());
        ++problems;
        break;
    }
  }
  if (!writer.Finish()) return Error(writer.error());
  std::printf("%s: %zu member(s) written\n", out.c_str(), writer.member_count());
  if (problems) return Error(std::to_string(problems) + " file(s) could not be packed");
  return 0;
}

int List(const std::string& path) {
  LzpArchive archive;
  int status = 0;
  if (!OpenArchive(archive, path, status)) return status;
  std::map<std::string, bool> seen;
  for (const LzpArchive::Entry& e : archive.entries()) {
    const bool shadowed = seen.count(e.name) > 0;
    seen[e.name] = true;
    if (shadowed) {
      std::printf("%12s %8s  %s  (duplicate, never opened)\n", "-", "-", e.name.c_str());
      continue;
    }
    const auto info = archive.ScanMember(e.name);
    if (!info) {
      std::printf("%12s %8s  %s  (damaged block stream)\n", "?", "?", e.name.c_str());
      status = 1;
      continue;
    }
    std::printf("%12llu %8u  %s\n", static_cast<unsigned long long>(info->size), info->blocks,
                e.name.c_str());
  }
  return archive.table_complete() ? status : 1;
}

// A member name is written below DIR only when it cannot escape it.
bool SafeRelative(const std::string& name) {
  if (name.empty()) return false;
  const fs::path p(name);
  if (p.is_absolute() || p.has_root_name() || p.has_root_directory()) return false;
  for (const fs::path& part : p)
    if (part == "..") return false;
  return name.find('\\') == std::string::npos || fs::path::preferred_separator == '\\';
}

int Extract(const std::string& path, std::vector<std::string> args) {
  std::string dir = ".";
  if (!TakeDirectory(args, dir)) return Usage("-C needs a directory");
  LzpArchive archive;
  int status = 0;
  if (!OpenArchive(archive, path, status)) return status;
  std::vector<std::string> names = args;
  if (names.empty()) {
    std::map<std::string, bool> seen;
    for (const LzpArchive::Entry& e : archive.entries())
      if (seen.emplace(e.name, true).second) names.push_back(e.name);
  }
  std::vector<uint8_t> bytes;
  for (const std::string& name : names) {
    if (!SafeRelative(name)) {
      status = Error("'" + name + "': unsafe member name (absolute or with '..'), not extracted");
      continue;
    }
    if (!archive.OpenMember(name, bytes)) {
      status = Error("'" + name + "': no such member, or its data is damaged");
      continue;
    }
    const fs::path target = fs::path(dir) / name;
    std::error_code ec;
    if (target.has_parent_path()) fs::create_directories(target.parent_path(), ec);
    std::FILE* f = std::fopen(target.string().c_str(), "wb");
    bool ok = f && (bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size());
    if (f) ok = std::fclose(f) == 0 && ok;
    if (!ok) {
      status = Error("cannot write '" + target.string() + "'");
      continue;
    }
    std::printf("%s (%zu bytes)\n", target.string().c_str(), bytes.size());
  }
  return status;
}

int Cat(const std::string& path, const std::string& name) {
  LzpArchive archive;
  int status = 0;
  if (!OpenArchive(archive, path, status)) return status;
  std::vector<uint8_t> bytes;
  if (!archive.OpenMember(name, bytes))
    return Error("'" + name + "': no such member, or its data is damaged");
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  if ((!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size()) ||
      std::fflush(stdout))
    return Error("cannot write to standard output");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  cva::SetProgramName("lzp");
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return Usage("no command given");
  for (const std::string& a : args)
    if (a == "--help" || a == "-h") return Usage(nullptr);
  const std::string command = args[0];
  if (args.size() < 2) return Usage((command + " needs an archive").c_str());
  const std::string archive = args[1];
  std::vector<std::string> rest(args.begin() + 2, args.end());
  if (command == "create") return Create(archive, rest);
  if (command == "list") return rest.empty() ? List(archive) : Usage("list takes one archive");
  if (command == "extract") return Extract(archive, rest);
  if (command == "cat") return rest.size() == 1 ? Cat(archive, rest[0]) : Usage("cat needs NAME");
  return Usage(("unknown command '" + command + "'").c_str());
}
