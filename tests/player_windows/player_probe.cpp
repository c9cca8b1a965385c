// Looks at a running player from beside it, as a user's tools would, and prints what it sees.
//   player_probe window            waits for the player's window; prints its client size, the
//                                  client origin on the screen, the window rectangle, whether
//                                  it is maximised and has only a thin border, and the
//                                  display's current size
//   player_probe message LABEL     waits for a message box; checks that it reports LABEL
//                                  missing with the player's exact caption and text, prints
//                                  both, and closes it with OK
//   player_probe ask yes|no        waits for the question whether to play in full screen,
//                                  checks its caption and text, and answers it
// Exit code 0 when what was waited for appeared (and, for message, matched), else 1.
#include <windows.h>

#include <cstdio>
#include <string>

#include "player/player_load_listener.h"
#include "stream/encoded_text.h"
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

int ProbeWindow() {
  HWND window = WaitFor([] {
    HWND w = FindWindowW(L"CPP_DX_PLAYER", nullptr);
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

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "window" && argc == 2) return ProbeWindow();
  if (mode == "message" && argc == 3) return ProbeMessage(argv[2]);
  if (mode == "ask" && argc == 3) return ProbeQuestion(argv[2]);
  std::fputs("usage: player_probe window | message LABEL | ask yes|no\n", stderr);
  return 2;
}
