#pragma once

#include <cstdint>

namespace cva {

// Where a player program keeps what the converter writes into it: the `lzp` archive and the
// settings record as RT_RCDATA resources, the window title as a string. The player, the
// converters and the inspector all name them from here.
constexpr uint16_t kArchiveResource = 200;
constexpr uint16_t kSettingsResource = 201;
constexpr uint16_t kTitleString = 40000;
// The languages the converter writes at, in the order the player looks for a data resource;
// when none of them is there, the player takes the first language stored.
constexpr uint16_t kPlayerDataLanguages[] = {1041, 1024, 1033};

}  // namespace cva
