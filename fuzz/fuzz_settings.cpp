// Reads arbitrary bytes as a player settings record.
#include <cstdint>

#include "player/player_settings.h"
#include "stream/memory_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  cva::PlayerSettings settings;
  cva::MemoryReader reader(data, static_cast<uint32_t>(size));
  cva::ReadSettings(settings, reader, [] { return true; });
  return 0;
}
