#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "system/text_codec.h"

namespace cva {
namespace {

// Converts with iconv, replacing each unconvertible or invalid input unit by `fallback`
// (encoded in the target) and skipping `unit` input bytes.
std::string Convert(const char* to, const char* from, std::string_view in, size_t unit,
                    std::string_view fallback) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string();
  std::string out;
  std::vector<char> buffer(in.size() * 4 + 16);
  char* src = const_cast<char*>(in.data());
  size_t src_left = in.size();
  while (src_left > 0) {
    char* dst = buffer.data();
    size_t dst_left = buffer.size();
    const size_t r = iconv(cd, &src, &src_left, &dst, &dst_left);
    out.append(buffer.data(), dst - buffer.data());
    if (r == static_cast<size_t>(-1) && errno != E2BIG) {
      // EILSEQ or EINVAL (truncated sequence): replace one unit and go on.
      out.append(fallback);
      const size_t skip = src_left < unit ? src_left : unit;
      src += skip;
      src_left -= skip;
    }
  }
  iconv_close(cd);
  return out;
}

}  // namespace

std::string Utf16ToCp932(std::u16string_view units) {
  // Convert from little-endian bytes explicitly so the host byte order does not matter.
  std::string le;
  le.reserve(units.size() * 2);
  for (char16_t u : units) {
    le.push_back(static_cast<char>(u & 0xFF));
    le.push_back(static_cast<char>(u >> 8));
  }
  return Convert("CP932", "UTF-16LE", le, 2, "?");
}

std::u16string Cp932ToUtf16(std::string_view bytes) {
  const std::string le = Convert("UTF-16LE", "CP932", bytes, 1, std::string_view("?\0", 2));
  std::u16string out;
  out.reserve(le.size() / 2);
  for (size_t i = 0; i + 1 < le.size(); i += 2)
    out.push_back(static_cast<char16_t>(static_cast<uint8_t>(le[i]) |
                                        (static_cast<uint8_t>(le[i + 1]) << 8)));
  return out;
}

}  // namespace cva
