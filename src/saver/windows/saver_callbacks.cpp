// The program's screen-saver callbacks: a player for every screen-saver window, driven by a
// 16 ms timer, and the configuration dialog.
#include <memory>
#include <string>

#include "player/player_settings.h"
#include "player/windows/program_player.h"
#include "saver/saver_credit.h"
#include "saver/windows/screen_saver.h"
#include "system/services.h"
#include "system/text_codec.h"

namespace cva {
namespace {

constexpr UINT_PTR kFrameTimer = 1;
constexpr UINT kFrameInterval = 16;  // milliseconds
constexpr int kCreditEdit = 1001;
constexpr int kAuthorEdit = 40008;

// The player of the screen-saver window; one at a time.
std::unique_ptr<ProgramPlayer> g_player;

std::wstring Wide(const std::u16string& units) {
  return std::wstring(units.begin(), units.end());
}

// A stored text for the wide calls: UTF-16 as it is, Shift-JIS converted from code page 932,
// so that it reads the same on every system code page.
std::wstring WideText(const EncodedText& text) {
  return Wide(text.encoding() == EncodedText::kUtf16 ? text.Utf16Units()
                                                     : Cp932ToUtf16(text.RawNarrow()));
}

// Built on the window's creation: the settings record of the program's resources (asking the
// full-screen question when the record leaves it open, although the answer changes nothing
// here: the window is the frame's), the player on this window, its pacing and its document.
// The settings' screen mode and size are not applied, and no input reaches the player.
void StartPlayer(HWND window) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  g_player.reset();
  const PlayerSettings& settings = ReadProgramSettings(instance);
  g_player = std::make_unique<ProgramPlayer>(instance, window);
  g_player->Start(settings);
  SetTimer(window, kFrameTimer, kFrameInterval, nullptr);
}

}  // namespace

LRESULT CALLBACK ScreenSaverProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      StartPlayer(window);
      return 0;
    case WM_TIMER:
      if (g_player) g_player->RunFrame();
      return 0;
    case WM_DESTROY:
      KillTimer(window, kFrameTimer);
      if (g_player) {
        g_player.reset();
        SystemServices().DebugOutput(ProgramName() + ": player released\n");
      }
      return 0;
    default:
      return DefScreenSaverProc(window, message, wparam, lparam);
  }
}

INT_PTR CALLBACK ScreenSaverConfigureDialog(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      SetDlgItemTextW(dialog, kAuthorEdit, WideText(Settings().author).c_str());
      SetDlgItemTextW(dialog, kCreditEdit, Wide(Utf8ToUtf16(kSaverCredit)).c_str());
      return TRUE;
    case WM_CLOSE:
      EndDialog(dialog, 0);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wparam) == IDOK) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

BOOL RegisterDialogClasses(HINSTANCE) {
  return TRUE;  // the dialog uses the system's controls only
}

}  // namespace cva
