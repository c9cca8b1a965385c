#include "scene/text/character_codes.h"

namespace cva {
namespace {

bool IsLeadByte(uint8_t b) {
  return (b >= 129 && b <= 159) || (b >= 224 && b <= 252);
}

}  // namespace

std::vector<uint16_t> CharacterCodes(const EncodedText& text) {
  std::vector<uint16_t> codes;
  const std::vector<uint8_t>& b = text.bytes();
  const size_t n = b.size();
  size_t i = 0;
  while (i < n) {
    uint16_t code = 0;
    if (text.encoding() == EncodedText::kUtf16) {
      if (n - i < 2) break;
      code = static_cast<uint16_t>(b[i] | (b[i + 1] << 8));
      i += 2;
    } else if (text.encoding() == EncodedText::kShiftJis) {
      if (IsLeadByte(b[i])) {
        if (n - i < 2) break;
        code = static_cast<uint16_t>(b[i] | (b[i + 1] << 8));
        i += 2;
      } else {
        code = b[i];
        i += 1;
      }
    } else {
      break;
    }
    if (code == 0) break;
    codes.push_back(code);
  }
  return codes;
}

}  // namespace cva
