#pragma once

#include <windows.h>

#include <cstdint>
#include <span>

namespace cva {

// The bytes of resource RT_RCDATA `id` of `module`, empty when it has none. A generated player
// carries the converter's resources at language 1041 (or 1024 or 1033, where the converter
// fell back to them) beside the template's placeholders at another language; those languages
// are tried first, in that order, and only then whichever language the resource has, so the
// outcome never depends on the user's locale. The bytes live as long as the module.
std::span<const uint8_t> FindModuleData(HMODULE module, int id);

}  // namespace cva
