#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace cva::pack_tool {

struct Inspection {
  bool ok = false;              // the file is a program whose resources could be read
  nlohmann::ordered_json json;  // what it carries, when ok
  std::string error;            // why it could not be read, when not ok
  // Resources that are there but do not read (a cut settings record, a damaged archive
  // member, a cut string block or icon group), each with its language and byte offset.
  std::vector<std::string> problems;
};

// Describes what a generated player (or a template) carries: every resource with its
// language and size; each settings record (resource 201), archive (200) with its members,
// window title (string 40000) and icon group, at every language it is stored at; for the
// settings record and the archive, which one the player reads.
Inspection InspectPlayer(std::vector<uint8_t> bytes);

}  // namespace cva::pack_tool
