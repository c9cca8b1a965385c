#pragma once

// Whole-file reads and writes for the command-line tools.

#include <string>
#include <vector>

namespace cva::json {

// Reads the whole file; false with a reason (from the system) when it cannot.
bool ReadWholeFile(const std::string& path, std::string& contents, std::string& why);
// Writes through a temporary file beside `path` renamed into place, so that a failed write
// leaves no partial output.
bool WriteWholeFile(const std::string& path, const std::string& contents, std::string& why);

}  // namespace cva::json
