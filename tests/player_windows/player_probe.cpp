// Looks at a running player from beside it, as a user's tools would, and prints what it sees.
//   player_probe window [CLASS]    waits for the player's window (or a window of CLASS); prints
//                                  its client size, the client origin on the screen, the window
//                                  rectangle, whether it is maximised and has only a thin
//                                  border, and the display's current size
//   player_probe message LABEL     waits for a message box; checks that it reports LABEL
//                                  missing with the player's exact caption and text, prints
//                                  both, and closes it with OK
//   player_probe ask yes|no        waits for the question whether to play in full screen,
//                                  checks its caption and text, and answers it
//   player_probe preview SECONDS   makes a 320 x 240 window as the system's preview does and
//                                  prints "parent HWND"; waits for a screen saver's child window
//                                  in it, prints its client size and origin, keeps the parent
//                                  SECONDS longer and then closes it
//   player_probe dialog ok|close   waits for the screen saver's configuration dialog, checks the
//                                  texts of its two edits (the default author, the credit line)
//                                  and ends it with OK or with its close box
// Exit code 0 when what was waited for appeared (and, for message, matched), else 1.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "player/player_load_listener.h"
#include "player/player_settings.h"
#include "saver/saver_credit.h"
#include "stream/encoded_text.h"
#include "stream/text_conversion.h"
#include "system/text_codec.h"

namespace {

constexpr DWORD kWaitMs = 30000;

std::string Utf8(const std::wstring& wide) {
  return cva::Utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
}

std::wstring TextOf(HWND window) {
  wchar_t buffer[2048] = {};
  GetWindowTextW(window, buffer, 2048);
  return buffer;
}

template <typename Find>
HWND WaitFor(Find find) {
  for (DWORD waited = 0; waited < kWaitMs; waited += 50) {
    if (HWND window = find()) return window;
    Sleep(50);
  }
  return nullptr;
}

int ProbeWindow(const std::wstring& window_class) {
  HWND window = WaitFor([&] {
    HWND w = FindWindowW(window_class.c_str(), nullptr);
    return w && IsWindowVisible(w) ? w : nullptr;
  });
  if (!window) {
    std::puts("no player window");
    return 1;
  }
  Sleep(500);  // let the presentation settle
  RECT client{}, frame{};
  GetClientRect(window, &client);
  GetWindowRect(window, &frame);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  DEVMODEW display{};
  display.dmSize = sizeof display;
  EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &display);
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  std::printf("client %ld %ld\n", client.right - client.left, client.bottom - client.top);
  std::printf("origin %ld %ld\n", origin.x, origin.y);
  std::printf("window %ld %ld %ld %ld\n", frame.left, frame.top, frame.right, frame.bottom);
  std::printf("zoomed %d\n", IsZoomed(window) ? 1 : 0);
  std::printf("caption %d\n", (style & WS_CAPTION) == WS_CAPTION ? 1 : 0);
  std::printf("display %lu %lu\n", display.dmPelsWidth, display.dmPelsHeight);
  return 0;
}

// Waits for a message box, reads its caption and text, and presses the button `answer`.
bool ReadMessageBox(int answer, std::string& caption, std::string& text) {
  // A visible dialog with a message text: Wine keeps hidden dialogs of its own besides.
  HWND box = WaitFor([] {
    for (HWND w = FindWindowW(L"#32770", nullptr); w;
         w = FindWindowExW(nullptr, w, L"#32770", nullptr))
      if (IsWindowVisible(w) && GetDlgItem(w, 0xFFFF)) return w;
    return HWND{};
  });
  if (!box) {
    std::puts("no message box");
    return false;
  }
  caption = Utf8(TextOf(box));
  text = Utf8(TextOf(GetDlgItem(box, 0xFFFF)));
  std::printf("caption: %s\ntext: %s\n", caption.c_str(), text.c_str());
  PostMessageW(GetDlgItem(box, answer), BM_CLICK, 0, 0);
  return true;
}

int ProbeQuestion(const std::string& answer) {
  std::string caption, text;
  if (!ReadMessageBox(answer == "yes" ? IDYES : IDNO, caption, text)) return 1;
  const bool matches = caption == "Windowモードの確認" && text == "フルスクリーンで再生しますか？";
  std::puts(matches ? "question matches" : "question differs");
  return matches ? 0 : 1;
}

int ProbeMessage(const char* label) {
  std::string caption, text;
  if (!ReadMessageBox(IDOK, caption, text)) return 1;
  // The box shows line breaks as the text has them; compare without carriage returns.
  std::string shown;
  for (char c : text)
    if (c != '\r') shown += c;
  const bool matches = caption == cva::kMissingLabelCaption &&
                       shown == cva::MissingLabelText(cva::EncodedText::FromNarrow(label));
  std::puts(matches ? "message matches" : "message differs");
  return matches ? 0 : 1;
}

// Handles the messages of this thread's windows for `ms` milliseconds, or until `done`.
template <typename Done>
bool PumpUntil(DWORD ms, Done done) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    if (done()) return true;
    const DWORD waited = GetTickCount() - start;
    if (waited >= ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - waited < 20 ? ms - waited : 20, QS_ALLINPUT);
  }
}

int ProbePreview(int seconds) {
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = &DefWindowProcW;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.lpszClassName = L"PreviewParent";
  RegisterClassW(&window_class);
  RECT frame{0, 0, 320, 240};
  AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
  HWND parent = CreateWindowW(L"PreviewParent", L"preview", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100,
                              100, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                              nullptr, window_class.hInstance, nullptr);
  // The saver is started with this number once it is printed.
  std::printf("parent %llu\n",
              static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(parent)));
  std::fflush(stdout);
  HWND child = nullptr;
  PumpUntil(kWaitMs, [&] {
    child = FindWindowExW(parent, nullptr, L"WindowsScreenSaverClass", nullptr);
    return child && IsWindowVisible(child);
  });
  if (!child) {
    std::puts("no child window");
    DestroyWindow(parent);
    return 1;
  }
  RECT area{}, client{};
  GetClientRect(parent, &area);
  GetClientRect(child, &client);
  POINT origin{0, 0};
  ClientToScreen(child, &origin);
  std::printf("parent-client %ld %ld\n", area.right, area.bottom);
  std::printf("child %ld %ld\n", client.right, client.bottom);
  std::printf("origin %ld %ld\n", origin.x, origin.y);
  std::fflush(stdout);
  PumpUntil(static_cast<DWORD>(seconds) * 1000, [] { return false; });
  DestroyWindow(parent);
  std::puts("parent closed");
  return 0;
}

std::string EditText(HWND dialog, int id) {
  wchar_t buffer[512] = {};
  // WM_GETTEXT reads the control's own text across processes; GetWindowText would not.
  SendMessageW(GetDlgItem(dialog, id), WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer));
  return Utf8(buffer);
}

int ProbeDialog(const std::string& how) {
  HWND dialog = WaitFor([] {
    HWND w = FindWindowW(L"#32770", L"Corvane Animation");
    return w && IsWindowVisible(w) ? w : nullptr;
  });
  if (!dialog) {
    std::puts("no configuration dialog");
    return 1;
  }
  const std::string author = EditText(dialog, 40008);
  const std::string credit = EditText(dialog, 1001);
  std::printf("author: %s\ncredit: %s\n", author.c_str(), credit.c_str());
  if (how == "ok") {
    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
  } else {
    PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);  // as the close box does
  }
  const bool matches =
      author == cva::ToUtf8(cva::PlayerSettings().author) && credit == cva::kSaverCredit;
  std::puts(matches ? "dialog matches" : "dialog differs");
  return matches ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "window" && argc == 2) return ProbeWindow(L"CPP_DX_PLAYER");
  if (mode == "window" && argc == 3) {
    const std::u16string units = cva::Utf8ToUtf16(argv[2]);
    return ProbeWindow(std::wstring(units.begin(), units.end()));
  }
  if (mode == "preview" && argc == 3) return ProbePreview(std::atoi(argv[2]));
  if (mode == "dialog" && argc == 3) return ProbeDialog(argv[2]);
  if (mode == "message" && argc == 3) return ProbeMessage(argv[2]);
  if (mode == "ask" && argc == 3) return ProbeQuestion(argv[2]);
  std::fputs(
      "usage: player_probe window [CLASS] | message LABEL | ask yes|no | preview SECONDS |"
      " dialog ok|close\n",
      stderr);
  return 2;
}
