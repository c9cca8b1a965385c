#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "stream/encoded_text.h"
#include "stream/stream_reader.h"

namespace cva {

// How a generated player presents its animation; read from the record the converter
// embeds in the player. Defaults stand for every field the record does not supply.
struct PlayerSettings {
  bool windowed = true;
  bool data_inside = true;
  bool fixed_step = true;
  int32_t width = 640;
  int32_t height = 480;
  EncodedText document_name = EncodedText::FromNarrow("base.cva");
  EncodedText start_label = EncodedText::FromNarrow("default");
  // Set by the converter's dialog; never stored in the record.
  EncodedText author = EncodedText::FromNarrow("Name withheld by request");
  int32_t step = 10;
};

// Screen-mode byte of the record.
enum class ScreenMode : uint8_t { kWindow = 0, kFullScreen = 1, kAsk = 2 };

// Answers "play in full screen?" when the record leaves the choice to the user at start.
using AskFullScreen = std::function<bool()>;

// The process's settings, created with the defaults on first use.
PlayerSettings& Settings();

// Fills `settings` from a settings record. A record whose present flag is not set leaves
// every default. A record that ends early keeps the defaults of the fields it lacks (a
// field is taken only when it was read whole). Returns false for such a short record.
bool ReadSettings(PlayerSettings& settings, StreamReader& reader, const AskFullScreen& ask);

// The record as the converter writes it: present flag, screen mode, flags, size, document
// name, start label, step; texts stored with their terminator inside their length.
std::vector<uint8_t> WriteSettingsRecord(const PlayerSettings& settings, ScreenMode mode);

}  // namespace cva
