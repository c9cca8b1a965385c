#pragma once

#include <string>
#include <vector>

#include "converter/player_generation.h"

namespace cva::pack_tool {

// Where cvapack looks for a template named `name`, in order: a "data" folder beside the
// program (the converter's own layout), "../share/cva/data" beside it (where an install puts
// the templates) and the data folder of the Windows build tree that the templates were
// built in.
std::vector<std::string> TemplateCandidates(OutputKind kind);

}  // namespace cva::pack_tool
