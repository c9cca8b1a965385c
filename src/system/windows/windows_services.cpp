#include <windows.h>

#include <algorithm>
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

// A file handle read with explicit offsets (an OVERLAPPED offset on a synchronous handle).
class WindowsFile final : public RandomAccessFile {
 public:
  WindowsFile(HANDLE file, uint64_t size) : file_(file), size_(size) {}
  ~WindowsFile() override { CloseHandle(file_); }
  WindowsFile(const WindowsFile&) = delete;
  WindowsFile& operator=(const WindowsFile&) = delete;

  uint64_t Size() const override { return size_; }
  size_t ReadAt(uint64_t offset, uint8_t* out, size_t count) override {
    size_t total = 0;
    while (total < count) {
      OVERLAPPED at{};
      at.Offset = static_cast<DWORD>(offset + total);
      at.OffsetHigh = static_cast<DWORD>((offset + total) >> 32);
      const DWORD ask = static_cast<DWORD>(std::min<size_t>(count - total, 1u << 30));
      DWORD got = 0;
      if (!::ReadFile(file_, out + total, ask, &got, &at) || got == 0) break;
      total += got;
    }
    return total;
  }

 private:
  HANDLE file_;
  uint64_t size_;
};

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
  std::unique_ptr<RandomAccessFile> OpenFile(const EncodedText& name) override {
    HANDLE file = OpenForReading(name);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) {
      CloseHandle(file);
      return nullptr;
    }
    return std::make_unique<WindowsFile>(file, static_cast<uint64_t>(size.QuadPart));
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
