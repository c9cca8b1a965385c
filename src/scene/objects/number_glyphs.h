#pragma once

#include <cstdint>
#include <vector>

#include "scene/object_property_records.h"

namespace cva {

// The glyph entries (0 to 9 the digits, 10 the group separator, 11 the minus sign) that show
// `value` in the format of property 14, least significant first: at most the format's digit
// count of digits (at least one), a separator before every third digit when its code is 1,
// zeros up to the digit count when zero padding is on, and the minus sign last for a negative
// value when its code is 1. The most negative integer is shown like any other.
std::vector<int> NumberGlyphEntries(int32_t value, const NumberFormatValue& format);

// Where the glyph at `position` of a sequence starts relative to the previous one's start:
// with the second code 1 every glyph after the first advances by the format's fixed numbers
// (the fourth for separators, the third for the others); otherwise, and always for the first
// glyph, by `glyph_width`.
float NumberGlyphAdvance(const NumberFormatValue& format, size_t position, int entry,
                         float glyph_width);

}  // namespace cva
