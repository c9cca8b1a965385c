#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cva {

// The image of an icon file that a generated player's icons can use: the one 32 × 32 image
// its group icon entries describe, with the fields those entries repeat.
struct IconImage {
  std::vector<uint8_t> bytes;  // a DIB or PNG image as an RT_ICON resource holds it
  uint8_t colour_count = 0;
  uint16_t planes = 1;
  uint16_t bit_count = 0;
};

// Picks the 32 × 32 image of an icon file (the one with the most colours when there are
// several). False, with a reason for the user, when the file is not an icon file, holds no
// 32 × 32 image, or that image's data is cut short or not a 32 × 32 bitmap or PNG.
bool ReadIconFile(const std::vector<uint8_t>& file, IconImage& image, std::string& reason);

// An RT_GROUP_ICON resource with one entry describing `image` as icon resource `icon_id`.
std::vector<uint8_t> GroupIconFor(const IconImage& image, uint16_t icon_id);

}  // namespace cva
