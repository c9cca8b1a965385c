#include "converter/windows/system_error.h"

#include <cstdio>

#include "system/text_codec.h"

namespace cva {

std::string SystemErrorText(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::u16string units(buffer, buffer + length);
  LocalFree(buffer);
  while (!units.empty() && (units.back() == u'\n' || units.back() == u'\r' || units.back() == u' '))
    units.pop_back();
  char hex[16];
  std::snprintf(hex, sizeof hex, "%lx", static_cast<unsigned long>(code));
  return (units.empty() ? std::string("error") : Utf16ToUtf8(units)) + " (" + hex + ")";
}

}  // namespace cva
