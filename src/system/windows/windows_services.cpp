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

// Stored names: UTF-16 as a wide path, Shift-JIS as a narrow path, both from their bytes.
HANDLE OpenForReading(const EncodedText& name) {
  if (name.encoding() == EncodedText::kUtf16) {
    const std::u16string units = name.Utf16Units();
    const std::wstring path(units.begin(), units.end());
    return CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  return CreateFileA(name.RawNarrow().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
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
    DWORD attributes;
    if (name.encoding() == EncodedText::kUtf16) {
      const std::u16string units = name.Utf16Units();
      attributes = GetFileAttributesW(std::wstring(units.begin(), units.end()).c_str());
    } else {
      attributes = GetFileAttributesA(name.RawNarrow().c_str());
    }
    return attributes != INVALID_FILE_ATTRIBUTES;
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
