#include "converter/windows/file_chooser.h"

#include <commdlg.h>

namespace cva {

FileChooser::FileChooser(Kind kind, std::wstring filter, std::wstring title, DWORD flags,
                         const wchar_t* default_extension)
    : kind_(kind), filter_(std::move(filter)), title_(std::move(title)) {
  description_.lStructSize = sizeof description_;
  description_.lpstrFilter = filter_.c_str();
  description_.lpstrCustomFilter = custom_filter_;
  description_.nMaxCustFilter = 256;
  description_.lpstrFile = path_;
  description_.nMaxFile = MAX_PATH;
  description_.lpstrTitle = title_.c_str();
  description_.Flags = flags;
  description_.lpstrDefExt = default_extension;
}

void FileChooser::Run(HWND owner) {
  description_.hwndOwner = owner;
  if (kind_ == Kind::kSave) {
    description_.Flags |= OFN_OVERWRITEPROMPT;
    GetSaveFileNameW(&description_);
  } else {
    GetOpenFileNameW(&description_);
  }
}

}  // namespace cva
