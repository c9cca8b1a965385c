#include "converter/windows/owned_message_services.h"

#include "system/text_codec.h"

namespace cva {
namespace {

std::wstring Wide(const std::string& utf8) {
  const std::u16string units = Utf8ToUtf16(utf8);
  return std::wstring(units.begin(), units.end());
}

}  // namespace

Services::Answer OwnedMessageServices::ShowMessage(const std::string& text,
                                                   const std::string& caption, Buttons buttons) {
  const UINT type = buttons == Buttons::kYesNo ? MB_YESNO : MB_OK;
  const int answer = MessageBoxW(owner_, Wide(text).c_str(), Wide(caption).c_str(), type);
  if (buttons == Buttons::kOk) return Answer::kOk;
  return answer == IDYES ? Answer::kYes : Answer::kNo;
}

void ShowOkMessage(HWND owner, const std::string& text, const std::string& caption) {
  MessageBoxW(owner, Wide(text).c_str(), Wide(caption).c_str(), MB_OK);
}

}  // namespace cva
