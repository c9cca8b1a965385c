#pragma once

#include <cstdint>
#include <vector>

#include "stream/encoded_text.h"

namespace cva {

// The character codes of a text run, in order, as the layout places them: UTF-16 texts two
// bytes at a time (first byte + 256 x second); Shift-JIS texts one byte at a time, or two
// when the first is a lead byte (129-159, 224-252), as lead + 256 x trail. Decoding ends at
// code 0 or at the end of the bytes; a unit that would need bytes beyond the end (the odd
// last byte of a UTF-16 text, a lead byte without a trail byte) is not decoded. Other
// encodings give no codes.
std::vector<uint16_t> CharacterCodes(const EncodedText& text);

}  // namespace cva
