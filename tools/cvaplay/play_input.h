#pragma once

#include <memory>
#include <string>
#include <vector>

#include "archive/lzp_archive.h"
#include "command_line.h"
#include "player/player_settings.h"

namespace cva::play_tool {

// What is played and how, from the command line's input and options.
struct PlayInput {
  // The document, start label, window or full screen, size, pacing and data source, as a
  // generated player's settings record holds them; for a document or an archive the
  // defaults of the options (a window, real time, the data beside the document or in the
  // archive).
  PlayerSettings settings;
  // The size is the document's stage size, known once it has loaded.
  bool size_from_stage = false;
  // The archive the data is read from when settings.data_inside (a program's archive reads
  // from `archive_bytes`).
  std::vector<uint8_t> archive_bytes;
  std::unique_ptr<LzpArchive> archive = std::make_unique<LzpArchive>();
  // Made current before the document loads: where the input lies (files named by the
  // document, and a program's sounds, are read beside it).
  std::string directory;
  std::string title;
};

// Opens the input and applies the options that override it. A program's record may ask
// whether to play in full screen (through the system services' message box) unless the
// command line chose. False with `error` when the input cannot be played.
bool OpenPlayInput(const CommandLine& command, PlayInput& out, std::string& error);

}  // namespace cva::play_tool
