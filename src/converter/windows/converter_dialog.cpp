#include "converter/windows/converter_dialog.h"

#include <cstdio>

#include "stream/text_conversion.h"
#include "system/text_codec.h"

namespace cva {

void ConverterDialog::SetText(int id, const EncodedText& text) {
  const std::u16string units =
      text.encoding() == EncodedText::kUtf16 ? text.Utf16Units() : Cp932ToUtf16(text.RawNarrow());
  SetWindowTextW(Control(id), reinterpret_cast<const wchar_t*>(units.c_str()));
  encodings_[id] = text.encoding();
}

std::u16string ConverterDialog::Units(int id) const {
  HWND control = Control(id);
  const int length = GetWindowTextLengthW(control);
  if (length < 1) return {};
  std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(control, buffer.data(), length + 1);
  return std::u16string(buffer.begin(), buffer.begin() + (got > 0 ? got : 0));
}

EncodedText ConverterDialog::Text(int id) const {
  const std::u16string units = Units(id);
  if (units.empty()) return EncodedText();
  auto it = encodings_.find(id);
  if (it != encodings_.end() && it->second == EncodedText::kUtf16)
    return EncodedText::FromUtf16(units);
  return EncodedText::FromNarrow(Utf16ToCp932(units));
}

std::string ConverterDialog::Utf8(int id) const {
  return Utf16ToUtf8(Units(id));
}

std::string ConverterDialog::Path(int id) const {
  const std::u16string units = Units(id);
  if (units.empty()) return {};
  const auto* wide = reinterpret_cast<const wchar_t*>(units.c_str());
  const int size = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  std::string path(size > 0 ? size : 1, '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, -1, path.data(), size, nullptr, nullptr);
  path.resize(path.size() - 1);
  return path;
}

int32_t ConverterDialog::Integer(int id) const {
  int value = 0;
  return std::sscanf(Utf8(id).c_str(), "%d", &value) == 1 ? value : 0;
}

void ConverterDialog::SetInteger(int id, int32_t value) {
  SetText(id, EncodedText::FromNarrow(std::to_string(value)));
}

}  // namespace cva
