#pragma once

#include <cstdint>

namespace cva {

// Glyph coverage comes in 65 grey levels, 0 (empty) to 64 (fully covered).
constexpr int32_t kMaxGreyLevel = 64;

// The page alpha of grey level g: g x 255 / 65 in integer arithmetic, so full coverage gives
// 251 rather than 255, as the glyph pages of the reference renderer have it.
constexpr uint8_t GreyToAlpha(uint8_t grey) {
  return static_cast<uint8_t>(grey * 255 / 65);
}

// The grey level of an 8-bit coverage value (0 to 255), rounded to the nearest level.
constexpr uint8_t CoverageToGrey(uint8_t coverage) {
  return static_cast<uint8_t>((coverage * kMaxGreyLevel + 127) / 255);
}

}  // namespace cva
