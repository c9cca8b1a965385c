#include "stream/text_conversion.h"

#include "system/text_codec.h"

namespace cva {

std::string ToNarrow(const EncodedText& text) {
  switch (text.encoding()) {
    case EncodedText::kUtf16:
      return Utf16ToCp932(text.Utf16Units());
    case EncodedText::kShiftJis:
      return text.RawNarrow();
    default:
      return std::string();
  }
}

std::string ToUtf8(const EncodedText& text) {
  switch (text.encoding()) {
    case EncodedText::kUtf16:
      return Utf16ToUtf8(text.Utf16Units());
    case EncodedText::kShiftJis:
      return Cp932ToUtf8(text.RawNarrow());
    default:
      return std::string();
  }
}

}  // namespace cva
