#include "play_input.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "archive_document.h"
#include "headless_load.h"
#include "program_resources.h"
#include "stream/memory_reader.h"
#include "system/services.h"

namespace cva::play_tool {
namespace {

namespace fs = std::filesystem;

std::string LowerExtension(const fs::path& path) {
  std::string ext = path.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext;
}

bool AskFullScreenAtStart() {
  // The Windows player's question at start, when the record leaves the choice to the user.
  return SystemServices().ShowMessage("フルスクリーンで再生しますか？", "Windowモードの確認",
                                      Services::Buttons::kYesNo) == Services::Answer::kYes;
}

bool OpenArchive(const fs::path& path, PlayInput& out, std::string& error) {
  if (!out.archive->OpenFile(path.string())) {
    error = "cannot open the archive";
    return false;
  }
  if (!out.archive->has_magic()) {
    error = "not an lzp archive";
    return false;
  }
  const std::string document = session::ArchiveDocument(*out.archive, path.stem().string(), error);
  if (document.empty()) return false;
  out.settings.document_name = session::SettingsText(document);
  out.settings.data_inside = true;
  out.size_from_stage = true;
  return true;
}

bool OpenProgram(const fs::path& path, bool screen_mode_given, PlayInput& out, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot open the program";
    return false;
  }
  std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::optional<ProgramResources> resources = ReadProgramResources(std::move(bytes), error);
  if (!resources) {
    error = "not a player program: " + error;
    return false;
  }
  if (resources->settings.empty() && resources->archive.empty()) {
    error = "the program carries no settings record and no archive (not made by cvapack?)";
    return false;
  }
  MemoryReader record(resources->settings);
  // The command line's screen mode stands instead of the record's question.
  const AskFullScreen ask =
      screen_mode_given ? AskFullScreen([] { return true; }) : AskFullScreen(&AskFullScreenAtStart);
  ReadSettings(out.settings, record, ask);
  out.archive_bytes = std::move(resources->archive);
  out.archive->OpenMemory(out.archive_bytes);
  if (!resources->title.empty()) out.title = resources->title;
  return true;
}

}  // namespace

bool OpenPlayInput(const CommandLine& command, PlayInput& out, std::string& error) {
  const fs::path path(command.input);
  const std::string ext = LowerExtension(path);
  out.title = path.filename().string();
  if (ext == ".exe" || ext == ".scr") {
    if (!OpenProgram(path, command.fullscreen, out, error)) return false;
  } else if (ext == ".lzp") {
    out.settings.fixed_step = false;
    if (!OpenArchive(path, out, error)) return false;
  } else {
    out.settings.fixed_step = false;
    out.settings.data_inside = false;
    // The player reads the document like any file it names: a missing one is its message.
    out.settings.document_name = session::SettingsText(path.filename().string());
    out.size_from_stage = true;
  }
  out.directory = path.parent_path().string();

  if (command.label) out.settings.start_label = session::SettingsText(*command.label);
  if (command.width && command.height) {
    out.settings.width = *command.width;
    out.settings.height = *command.height;
    out.size_from_stage = false;
  }
  if (command.fullscreen) out.settings.windowed = false;
  if (command.fixed_ms) {
    out.settings.fixed_step = true;
    out.settings.step = *command.fixed_ms;
  }
  return true;
}

}  // namespace cva::play_tool
