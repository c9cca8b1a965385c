#pragma once

#include <string>

namespace cva::session {

// A message box the player showed while no window was there to show it.
struct CapturedMessage {
  std::string caption;
  std::string text;

  // "[caption] text", as the tools report it.
  std::string Describe() const { return "[" + caption + "] " + text; }
};

}  // namespace cva::session
