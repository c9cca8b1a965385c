#pragma once

#include <windows.h>

#include <string>

namespace cva {

// One of the dialog's file choosers: a file dialog description kept for the program's life,
// so that each chooser opens with the path last chosen in it.
class FileChooser {
 public:
  enum class Kind { kOpen, kSave };

  // `filter` holds pairs of description and pattern, each ended by a NUL.
  FileChooser(Kind kind, std::wstring filter, std::wstring title, DWORD flags,
              const wchar_t* default_extension = nullptr);

  // Runs the dialog owned by `owner`. The path buffer keeps what was chosen; after a cancel it
  // holds the previous path (empty at first).
  void Run(HWND owner);
  const wchar_t* path() const { return path_; }

 private:
  Kind kind_;
  std::wstring filter_;
  std::wstring title_;
  wchar_t custom_filter_[256] = {};
  wchar_t path_[MAX_PATH] = {};
  OPENFILENAMEW description_{};
};

}  // namespace cva
