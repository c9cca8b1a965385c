#include <windows.h>

#include <cstdio>
#include <string>

#include "stream/text_conversion.h"
#include "system/services.h"
#include "system/text_codec.h"

namespace cva {
namespace {

std::wstring Wide(const std::string& utf8) {
  const std::u16string u = Utf8ToUtf16(utf8);
  return std::wstring(u.begin(), u.end());
}

// The wide path of a stored name: UTF-16 names as they are, Shift-JIS names converted from
// code page 932. The narrow calls would read Shift-JIS bytes in the system's code page and
// miss the file on every system whose code page is not 932.
std::wstring PathOf(const EncodedText& name) {
  const std::u16string units =
      name.encoding() == EncodedText::kUtf16 ? name.Utf16Units() : Cp932ToUtf16(name.RawNarrow());
  return std::wstring(units.begin(), units.end());
}

HANDLE OpenForReading(const EncodedText& name) {
  return CreateFileW(PathOf(name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

class WindowsServices final : public Services {
 public:
  Answer ShowMessage(const std::string& text, const std::string& caption,
                     Buttons buttons) override {
    const UINT type = buttons == Buttons::kYesNo ? MB_YESNO : MB_OK;
    const int r = MessageBoxW(nullptr, Wide(text).c_str(), Wide(caption).c_str(), type);
    if (buttons == Buttons::kOk) return Answer::kOk;
    return r == IDYES ? Answer::kYes : Answer::kNo;
  }
  bool FileExists(const EncodedText& name) override {
    return GetFileAttributesW(PathOf(name).c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  bool ReadFile(const EncodedText& name, std::vector<uint8_t>& out) override {
    HANDLE file = OpenForReading(name);
    if (file == INVALID_HANDLE_VALUE) return false;
    out.clear();
    bool ok = true;
    uint8_t chunk[65536];
    for (;;) {
      DWORD got = 0;
      if (!::ReadFile(file, chunk, sizeof chunk, &got, nullptr)) {
        ok = false;
        break;
      }
      if (got == 0) break;
      out.insert(out.end(), chunk, chunk + got);
    }
    CloseHandle(file);
    return ok;
  }
  uint32_t TickCount() override { return GetTickCount(); }
  std::string CurrentDirectory() override {
    wchar_t buffer[MAX_PATH * 4];
    const DWORD n = GetCurrentDirectoryW(MAX_PATH * 4, buffer);
    std::u16string units(buffer, buffer + (n < MAX_PATH * 4 ? n : 0));
    return Utf16ToUtf8(units);
  }
  bool SetCurrentDirectory(const std::string& path) override {
    return SetCurrentDirectoryW(Wide(path).c_str()) != 0;
  }
  void DebugOutput(const std::string& text) override { OutputDebugStringW(Wide(text).c_str()); }
  void ErrorOutput(const std::string& text) override { std::fputs(text.c_str(), stderr); }
};

}  // namespace

Services& PlatformServices() {
  static WindowsServices services;
  return services;
}

}  // namespace cva
