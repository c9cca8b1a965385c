#pragma once

#include <string>
#include <string_view>

namespace cva {

// Conversions between the encodings documents use (UTF-16 little-endian and Shift-JIS,
// code page 932) and UTF-8, which the tools and the services interface speak.
// Characters that cannot be represented become '?'.

// Platform conversions (iconv natively, the code-page functions on Windows).
std::string Utf16ToCp932(std::u16string_view units);
std::u16string Cp932ToUtf16(std::string_view bytes);

// Portable conversions.
std::string Utf16ToUtf8(std::u16string_view units);
std::u16string Utf8ToUtf16(std::string_view utf8);
inline std::string Cp932ToUtf8(std::string_view bytes) {
  return Utf16ToUtf8(Cp932ToUtf16(bytes));
}
inline std::string Utf8ToCp932(std::string_view utf8) {
  return Utf16ToCp932(Utf8ToUtf16(utf8));
}

}  // namespace cva
