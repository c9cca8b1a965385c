#pragma once

// A player settings record in JSON form, read by the player's own reader.

#include <cstdint>
#include <span>
#include <string>

#include "json_values.h"

namespace cva::json {

struct SettingsDump {
  bool ok = false;
  Json json;            // the settings, also when the record ends early (the player's view)
  std::string error;    // the field the record ends in, when not ok
  uint32_t offset = 0;  // where that field begins, when not ok
};

// Reads a settings record as the player does and describes the outcome: the raw screen mode
// and whether the full-screen question would be asked, every setting (the window choice as
// answering "no" leaves it), the pacing the player would use, which settings kept their
// defaults, and the bytes read and left over. A record that ends inside a field is not ok;
// the JSON then shows what the player would make of it.
SettingsDump DumpSettings(std::span<const uint8_t> bytes);

}  // namespace cva::json
