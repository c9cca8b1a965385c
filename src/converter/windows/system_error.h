#pragma once

#include <windows.h>

#include <string>

namespace cva {

// The system's text for error `code` (UTF-8, without the trailing line break), followed by
// the code itself, for messages that tell the user why something failed.
std::string SystemErrorText(DWORD code);

}  // namespace cva
