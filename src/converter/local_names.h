#pragma once

#include <string>

#include "system/text_codec.h"

namespace cva {

// Documents name their files in narrow code page 932 text, which is also what the players
// ask their archive for. On Windows such a name is a file name as it stands; elsewhere file
// names are UTF-8.
inline std::string LocalFileName(const std::string& narrow) {
#ifdef _WIN32
  return narrow;
#else
  return Cp932ToUtf8(narrow);
#endif
}

inline std::string NarrowFileName(const std::string& local) {
#ifdef _WIN32
  return local;
#else
  return Utf8ToCp932(local);
#endif
}

}  // namespace cva
