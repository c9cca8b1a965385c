#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace cva::play_tool {

// What a generated player program carries for the player: its settings record and its
// archive (each empty when the program lacks it), taken at the language the Windows player
// takes them (the converter's languages in order, then the first stored), and the window
// title.
struct ProgramResources {
  std::vector<uint8_t> settings;
  std::vector<uint8_t> archive;
  std::string title;  // UTF-8; empty when the program has none
};

// Reads the resources of a program file's bytes; nothing with `error` when the bytes are not
// a program whose resources can be read.
std::optional<ProgramResources> ReadProgramResources(std::vector<uint8_t> bytes,
                                                     std::string& error);

}  // namespace cva::play_tool
