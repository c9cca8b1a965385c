#pragma once

namespace cva {

// The line the screen saver's configuration dialog shows about the program itself (UTF-8).
inline constexpr const char* kSaverCredit = "cvasaver — 2D animation player engine";

}  // namespace cva
