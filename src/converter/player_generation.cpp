#include "converter/player_generation.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "archive/archive_writer.h"
#include "converter/icon_file.h"
#include "converter/local_names.h"
#include "player/player_resources.h"

namespace fs = std::filesystem;

namespace cva {
namespace {

using Step = GenerationResult::Step;

// The templates' two icons: group 107 shows icon 1, group 108 icon 2.
constexpr uint16_t kIconGroups[][2] = {{107, 1}, {108, 2}};

GenerationResult Fail(Step step, std::string reason) {
  return {step, std::move(reason)};
}

bool ReadWholeFile(const fs::path& path, std::vector<uint8_t>& bytes, std::string& reason) {
  std::ifstream in(path, std::ios::binary);
  if (in) bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (!in && !in.eof()) {
    reason = "cannot read " + path.string() + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

// Removes the file when it goes out of scope unless told to keep it.
class TemporaryFile {
 public:
  explicit TemporaryFile(fs::path path) : path_(std::move(path)) {}
  ~TemporaryFile() {
    std::error_code ignored;
    if (!kept_) fs::remove(path_, ignored);
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  const fs::path& path() const { return path_; }
  void Keep() { kept_ = true; }

 private:
  fs::path path_;
  bool kept_ = false;
};

// Packs the pack list's files (found beside the document) into the archive named after the
// document, reads it back whole and removes it and its temporary.
GenerationResult BuildArchive(const fs::path& document, const PackList& pack_list,
                              std::vector<uint8_t>& archive) {
  const std::string stem = document.filename().string();
  const fs::path path = document.parent_path() /
                        ((stem.size() >= 4 ? stem.substr(0, stem.size() - 4) : stem) + ".lzp");
  TemporaryFile file(path);
  TemporaryFile members(path.string() + ".tmp");
  ArchiveWriter writer;
  if (!writer.Open(path.string())) return Fail(Step::kArchive, writer.error());
  for (const std::string& name : pack_list.names()) {
    const fs::path member = document.parent_path() / LocalFileName(name);
    switch (writer.Add(name, member.string())) {
      case ArchiveWriter::AddResult::kAdded:
        break;
      case ArchiveWriter::AddResult::kSkipped:  // gone since the document was loaded
      case ArchiveWriter::AddResult::kFailed:
        return Fail(Step::kArchive, writer.error());
    }
  }
  if (!writer.Finish()) return Fail(Step::kArchive, writer.error());
  std::string reason;
  if (!ReadWholeFile(path, archive, reason)) return Fail(Step::kArchive, reason);
  return {};
}

}  // namespace

const char* TemplateFileName(OutputKind kind) {
  return kind == OutputKind::kPlayer ? "cvaplay.exe" : "cvasaver.scr";
}

std::string TemplateBeside(const std::string& program_directory, OutputKind kind) {
  return (fs::path(program_directory) / "data" / TemplateFileName(kind)).string();
}

std::string GenerationResult::Describe() const {
  const char* what = "";
  switch (step) {
    case Step::kNone:
      return "the program has been created";
    case Step::kTemplate:
      what = "finding the template";
      break;
    case Step::kIcon:
      what = "reading the icon";
      break;
    case Step::kCopy:
      what = "copying the template";
      break;
    case Step::kOpen:
      what = "opening the copy's resources";
      break;
    case Step::kArchive:
      what = "packing the document's files";
      break;
    case Step::kResources:
      what = "writing the resources";
      break;
    case Step::kCommit:
      what = "saving the resources";
      break;
    case Step::kOutput:
      what = "writing the output";
      break;
  }
  return std::string(what) + ": " + reason;
}

GenerationResult GeneratePlayer(const GenerationRequest& request, const PackList& pack_list,
                                const ResourceStoreOpener& open_store,
                                const ResourceUpdater::Print& print) {
  std::error_code error;
  if (!fs::is_regular_file(request.template_path, error))
    return Fail(Step::kTemplate, "there is no template " + request.template_path);

  // The icon is checked before anything is written, so that a refused icon costs nothing.
  IconImage icon;
  if (!request.icon_path.empty()) {
    std::vector<uint8_t> bytes;
    std::string reason;
    if (!ReadWholeFile(request.icon_path, bytes, reason)) return Fail(Step::kIcon, reason);
    if (!ReadIconFile(bytes, icon, reason))
      return Fail(Step::kIcon, request.icon_path + ": " + reason);
  }

  // The copy takes the output's place only once complete.
  TemporaryFile copy(request.output_path + ".part");
  if (!fs::copy_file(request.template_path, copy.path(), fs::copy_options::overwrite_existing,
                     error))
    return Fail(Step::kCopy, error.message());
  std::string reason;
  std::unique_ptr<ResourceStore> store = open_store(copy.path().string(), reason);
  if (!store) return Fail(Step::kOpen, reason);
  ResourceUpdater updater(*store, print);

  updater.ReplaceString(kTitleString, request.title);  // a template without it keeps its own
  if (!icon.bytes.empty()) {
    for (const auto& [group, id] : kIconGroups) {
      if (!updater.Write(ResourceUpdater::kRtIcon, id, icon.bytes) ||
          !updater.Write(ResourceUpdater::kRtGroupIcon, group, GroupIconFor(icon, id)))
        return Fail(Step::kResources, "the icon was not taken");
    }
  }

  const fs::path document(request.document_path);
  PlayerSettings settings = request.settings;
  settings.document_name = EncodedText::FromNarrow(NarrowFileName(document.filename().string()));
  settings.start_label = request.start_label;
  if (!updater.Write(ResourceUpdater::kRtRcData, kSettingsResource,
                     WriteSettingsRecord(settings, request.screen_mode)))
    return Fail(Step::kResources, "the settings record was not taken");

  if (settings.data_inside) {
    std::vector<uint8_t> archive;
    if (GenerationResult packed = BuildArchive(document, pack_list, archive); !packed.ok())
      return packed;
    if (!updater.Write(ResourceUpdater::kRtRcData, kArchiveResource, archive))
      return Fail(Step::kResources, "the archive was not taken");
  }

  if (!updater.Commit(reason)) return Fail(Step::kCommit, reason);
  store.reset();
  fs::rename(copy.path(), request.output_path, error);
  if (error) return Fail(Step::kOutput, error.message());
  copy.Keep();
  return {};
}

}  // namespace cva
