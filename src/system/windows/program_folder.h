#pragma once

#include <string>

namespace cva {

// The folder of the running program's file, ending in a path separator, from the wide module
// path (no 260-character limit); empty when the system gives no path.
std::wstring ProgramFolder();

}  // namespace cva
