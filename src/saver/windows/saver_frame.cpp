#include "saver/windows/saver_frame.h"

#include <string>

#include "saver/saver_command.h"
#include "saver/windows/saver_window.h"
#include "saver/windows/screen_saver.h"
#include "system/text_codec.h"

namespace cva {
namespace {

HWND WindowOf(const SaverCommand& command) {
  HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(command.window));
  return command.window != 0 && IsWindow(window) ? window : nullptr;
}

int RunConfiguration(HINSTANCE instance, HWND owner) {
  if (!RegisterDialogClasses(instance)) return 1;
  const INT_PTR result = DialogBoxParamW(instance, MAKEINTRESOURCEW(kConfigureDialog), owner,
                                         &ScreenSaverConfigureDialog, 0);
  return result == -1 ? 1 : static_cast<int>(result);
}

}  // namespace

int RunScreenSaver(HINSTANCE instance, const wchar_t* arguments) {
  // The switches and handles are ASCII; anything else cannot match them.
  const std::wstring wide = arguments ? arguments : L"";
  const SaverCommand command =
      ParseSaverCommand(Utf16ToUtf8(std::u16string(wide.begin(), wide.end())));
  switch (command.mode) {
    case SaverMode::kFullScreen:
      return RunSaverWindow(instance, nullptr);
    case SaverMode::kPreview: {
      HWND parent = WindowOf(command);
      return parent ? RunSaverWindow(instance, parent) : 1;  // nothing to draw into
    }
    case SaverMode::kChangePassword:
      return 0;  // no password of its own to change
    case SaverMode::kConfigure:
      break;
  }
  return RunConfiguration(instance, WindowOf(command));
}

}  // namespace cva
