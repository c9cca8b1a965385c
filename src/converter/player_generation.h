#pragma once

#include <string>

#include "converter/pack_list.h"
#include "converter/resource_store.h"
#include "converter/resource_updater.h"
#include "player/player_settings.h"

namespace cva {

// The two kinds of generated program and the template each is copied from.
enum class OutputKind { kPlayer, kScreenSaver };
const char* TemplateFileName(OutputKind kind);  // "cvaplay.exe" or "cvasaver.scr"
// Where a converter keeps its templates: in a folder "data" beside its own program file.
std::string TemplateBeside(const std::string& program_directory, OutputKind kind);

// Everything one generation takes, as the dialog or the command line gave it.
struct GenerationRequest {
  std::string template_path;
  std::string output_path;
  std::string document_path;  // the document file; its directory holds the pack list's files
  EncodedText start_label;    // in the document's text encoding
  std::u16string title;       // becomes string 40000 when the template has it
  std::string icon_path;      // empty: the template's icons stay
  ScreenMode screen_mode = ScreenMode::kWindow;
  // Size, data-inside flag, fixed-step flag and step; the document name and start label are
  // set from the fields above.
  PlayerSettings settings;
};

// Where a generation stopped, and the reason (the system's where it gave one).
struct GenerationResult {
  enum class Step { kNone, kTemplate, kIcon, kCopy, kOpen, kArchive, kResources, kCommit, kOutput };
  Step step = Step::kNone;
  std::string reason;

  bool ok() const { return step == Step::kNone; }
  // "<what was being done>: <reason>", for messages.
  std::string Describe() const;
};

// Makes the player: the template is copied beside the output, the settings record (RT_RCDATA
// 201), the archive of the pack list's files (RT_RCDATA 200, when the data goes inside), the
// title and the icon are written into the copy, and only a copy whose resources were all
// written and committed replaces the output. On failure nothing is left: no output, no
// copy, no archive and no archive temporary. Diagnostic lines go to `print`.
GenerationResult GeneratePlayer(const GenerationRequest& request, const PackList& pack_list,
                                const ResourceStoreOpener& open_store,
                                const ResourceUpdater::Print& print);

}  // namespace cva
