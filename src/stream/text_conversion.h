#pragma once

#include <string>

#include "stream/encoded_text.h"

namespace cva {

// Narrow (code page 932) text of a stored name, for archive lookups and narrow file names:
// UTF-16 is converted up to its first zero unit, Shift-JIS copied up to its first zero
// byte, any other encoding gives an empty string.
std::string ToNarrow(const EncodedText& text);

// The same text as UTF-8, for messages and tools.
std::string ToUtf8(const EncodedText& text);

}  // namespace cva
