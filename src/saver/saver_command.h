#pragma once

#include <cstdint>
#include <string_view>

namespace cva {

// What the system asks of a screen saver through its command line.
enum class SaverMode {
  kConfigure,       // "/c", "/c:HWND", no argument, or a switch the saver does not know
  kFullScreen,      // "/s"
  kPreview,         // "/p HWND": draw inside the given window
  kChangePassword,  // "/a HWND"
};

struct SaverCommand {
  SaverMode mode = SaverMode::kConfigure;
  // The window handle that follows the switch, as a number: the preview's parent, the
  // dialog's owner. 0 when none is given or it is not a number that fits in 64 bits.
  uint64_t window = 0;

  friend bool operator==(const SaverCommand&, const SaverCommand&) = default;
};

// Reads the arguments (the command line without the program's name). The switch is '/' or
// '-' and a letter of either case; a handle follows after a colon or spaces, in decimal.
SaverCommand ParseSaverCommand(std::string_view arguments);

}  // namespace cva
