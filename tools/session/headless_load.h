#pragma once

#include <functional>
#include <string>

#include "stream/encoded_text.h"

namespace cva {
class PlaybackHost;
class Player;
}  // namespace cva

namespace cva::session {

class CapturingServices;

// A name given in UTF-8 on a command line (a document file name or a start label) as the
// player's settings hold it: Shift-JIS text.
EncodedText SettingsText(const std::string& utf8);

// Starts the player's load of `document` at `label` (both UTF-8) and calls `run_frame` until
// the document is current, its loader has failed or 1000 frames have run (every resource of a
// headless run loads within a few polls, so more means stuck). Returns whether it is current.
bool LoadUntilCurrent(Player& player, const std::string& document, const std::string& label,
                      const std::function<void()>& run_frame);

// Why the pending load failed as its loader tells it (the text names the document and, for
// unreadable data, the byte offset), or empty when the loader gives no reason.
std::string LoadFailure(const PlaybackHost& host);

// LoadUntilCurrent, then checks that the current document has `label`. On failure `error`
// gets the message boxes the load raised (taken from `services`), one a line, and then the
// loader's reason, or the missing label.
bool StartAtLabel(Player& player, CapturingServices& services, const std::string& document,
                  const std::string& label, const std::function<void()>& run_frame,
                  std::string& error);

}  // namespace cva::session
