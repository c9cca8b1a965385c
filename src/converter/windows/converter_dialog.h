#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>

#include "stream/encoded_text.h"

namespace cva {

// The dialog's controls as texts and numbers. Every text goes through the wide window-text
// calls, so Japanese shows whatever the system's code page; the encoding a control's text was
// last set in is remembered (Shift-JIS when never set), and reading the control gives its text
// back in that encoding.
class ConverterDialog {
 public:
  explicit ConverterDialog(HWND dialog) : dialog_(dialog) {}

  HWND window() const { return dialog_; }
  HWND Control(int id) const { return GetDlgItem(dialog_, id); }

  void SetText(int id, const EncodedText& text);
  EncodedText Text(int id) const;
  // The text as UTF-16 units, whatever its encoding.
  std::u16string Units(int id) const;
  // The text as UTF-8.
  std::string Utf8(int id) const;
  // A narrow path in the system's code page, as the file calls of the generation take it.
  std::string Path(int id) const;
  bool Empty(int id) const { return GetWindowTextLengthW(Control(id)) < 1; }

  // The decimal number the control holds; 0 when empty or not a number.
  int32_t Integer(int id) const;
  void SetInteger(int id, int32_t value);

  bool Checked(int id) const { return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  void Check(int id) { SendMessageW(Control(id), BM_SETCHECK, BST_CHECKED, 0); }
  void Enable(int id, bool on) { EnableWindow(Control(id), on); }

 private:
  HWND dialog_;
  std::map<int, int32_t> encodings_;
};

}  // namespace cva
