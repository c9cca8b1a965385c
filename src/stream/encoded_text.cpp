#include "stream/encoded_text.h"

namespace cva {

EncodedText::EncodedText(int32_t encoding, std::span<const uint8_t> bytes)
    : encoding_(encoding), bytes_(bytes.begin(), bytes.end()) {
  Terminate();
}

EncodedText EncodedText::FromNarrow(std::string_view narrow) {
  const auto* p = reinterpret_cast<const uint8_t*>(narrow.data());
  return EncodedText(kShiftJis, std::span<const uint8_t>(p, narrow.size()));
}

EncodedText EncodedText::FromUtf16(std::u16string_view units) {
  std::vector<uint8_t> bytes;
  bytes.reserve(units.size() * 2);
  for (char16_t u : units) {
    bytes.push_back(static_cast<uint8_t>(u & 0xFF));
    bytes.push_back(static_cast<uint8_t>(u >> 8));
  }
  return EncodedText(kUtf16, bytes);
}

void EncodedText::Terminate() {
  const size_t n = bytes_.size();
  if (n == 0) {
    bytes_.assign(2, 0);
  } else if (encoding_ == kUtf16) {
    // A single stored byte is too short to hold a terminator: it counts as unterminated.
    if (n < 2 || bytes_[n - 1] != 0 || bytes_[n - 2] != 0) bytes_.insert(bytes_.end(), 2, 0);
  } else if (encoding_ == kShiftJis) {
    if (bytes_[n - 1] != 0) bytes_.push_back(0);
  }
}

std::string EncodedText::RawNarrow() const {
  std::string out;
  for (uint8_t b : bytes_) {
    if (b == 0) break;
    out.push_back(static_cast<char>(b));
  }
  return out;
}

std::u16string EncodedText::Utf16Units() const {
  std::u16string out;
  for (size_t i = 0; i + 1 < bytes_.size(); i += 2) {
    const char16_t u = static_cast<char16_t>(bytes_[i] | (bytes_[i + 1] << 8));
    if (u == 0) break;
    out.push_back(u);
  }
  return out;
}

}  // namespace cva
