#include <windows.h>

#include "system/text_codec.h"

namespace cva {
namespace {
constexpr UINT kShiftJis = 932;
}

std::string Utf16ToCp932(std::u16string_view units) {
  if (units.empty()) return std::string();
  const auto* w = reinterpret_cast<const wchar_t*>(units.data());
  const int n = static_cast<int>(units.size());
  const int size = WideCharToMultiByte(kShiftJis, 0, w, n, nullptr, 0, "?", nullptr);
  std::string out(size > 0 ? size : 0, '\0');
  if (size > 0) WideCharToMultiByte(kShiftJis, 0, w, n, out.data(), size, "?", nullptr);
  return out;
}

std::u16string Cp932ToUtf16(std::string_view bytes) {
  if (bytes.empty()) return std::u16string();
  const int n = static_cast<int>(bytes.size());
  const int size = MultiByteToWideChar(kShiftJis, 0, bytes.data(), n, nullptr, 0);
  std::u16string out(size > 0 ? size : 0, u'\0');
  if (size > 0)
    MultiByteToWideChar(kShiftJis, 0, bytes.data(), n, reinterpret_cast<wchar_t*>(out.data()),
                        size);
  return out;
}

}  // namespace cva
