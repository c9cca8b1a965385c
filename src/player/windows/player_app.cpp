#include "player/windows/player_app.h"

#include "player/player.h"
#include "player/player_resources.h"
#include "player/player_settings.h"

namespace cva {
namespace {

// Resource identifiers of the player template.
constexpr UINT kClassString = 109;
constexpr int kIcon = 107;
constexpr int kSmallIcon = 108;
constexpr int kAccelerators = 109;

// Without a device nothing paces the loop, so frames are spaced about as a display would.
constexpr DWORD kFrameIntervalWithoutDevice = 16;

PlayerApp* g_app = nullptr;  // the one instance, for the window procedure

}  // namespace

PlayerApp::PlayerApp() = default;

PlayerApp::~PlayerApp() {
  TearDown();
  if (g_app == this) g_app = nullptr;
}

int PlayerApp::Run(HINSTANCE instance, int show_command) {
  g_app = this;
  instance_ = instance;
  LoadStringW(instance, kTitleString, title_, 100);
  LoadStringW(instance, kClassString, class_name_, 100);
  if (!CreateMainWindow(instance)) return 0;

  display_modes_ = std::make_unique<DisplayModes>();
  PlayerSettings& settings = ReadProgramSettings(instance);
  if (settings.windowed) {
    display_modes_->SetRequestedSize(settings.width, settings.height);
    display_modes_->Apply(window_, true);
    ShowWindow(window_, show_command);
  } else {
    display_modes_->SwitchMode(settings.width, settings.height);
    display_modes_->Apply(window_, false);
  }

  CreatePlayer();
  program_->Start(settings);
  ValidateRect(window_, nullptr);
  UpdateWindow(window_);
  const int code = RunLoop(LoadAcceleratorsW(instance, MAKEINTRESOURCEW(kAccelerators)));
  TearDown();
  return code;
}

bool PlayerApp::CreateMainWindow(HINSTANCE instance) {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.style = CS_HREDRAW | CS_VREDRAW;
  window_class.lpfnWndProc = &PlayerApp::WindowProcedure;
  window_class.hInstance = instance;
  window_class.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIcon));
  window_class.hIconSm = LoadIconW(instance, MAKEINTRESOURCEW(kSmallIcon));
  window_class.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the arrow
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  window_class.lpszClassName = class_name_;
  RegisterClassExW(&window_class);
  window_ = CreateWindowExW(0, class_name_, title_, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0,
                            CW_USEDEFAULT, 0, nullptr, nullptr, instance, nullptr);
  return window_ != nullptr;
}

void PlayerApp::CreatePlayer() {
  program_ = std::make_unique<ProgramPlayer>(instance_, window_);
}

int PlayerApp::RunLoop(HACCEL accelerators) {
  MSG message{};
  PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // makes the queue exist
  while (message.message != WM_QUIT) {
    if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (!accelerators || !TranslateAcceleratorW(window_, accelerators, &message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
    } else if (active_ && !in_size_move_) {
      program_->RunFrame();
      if (!program_->has_device())
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kFrameIntervalWithoutDevice, QS_ALLINPUT);
    }
  }
  return static_cast<int>(message.wParam);
}

void PlayerApp::TearDown() {
  // The player with what it drew and read with; the process-wide objects last, newest first.
  program_.reset();
  display_modes_.reset();
}

LRESULT CALLBACK PlayerApp::WindowProcedure(HWND window, UINT message, WPARAM wparam,
                                            LPARAM lparam) {
  if (!g_app) return DefWindowProcW(window, message, wparam, lparam);
  return g_app->HandleMessage(window, message, wparam, lparam);
}

LRESULT PlayerApp::HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  // Input first; messages before the player exists (the sizing at creation) skip it.
  Player* player = program_ ? &program_->player() : nullptr;
  const bool consumed =
      player && player->input().HandleMessage(message, static_cast<uint32_t>(lparam));
  switch (message) {
    case WM_SIZE:
      RenderDevice::Instance().Resize(LOWORD(lparam), HIWORD(lparam));
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wparam) == WA_INACTIVE) {
        active_ = false;
      } else {
        active_ = true;
        if (player) player->ResetClock();
      }
      return 0;
    case WM_CHAR:
      if (wparam == 27) PostQuitMessage(0);  // Escape
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_ENTERSIZEMOVE:
      in_size_move_ = true;
      return 0;
    case WM_EXITSIZEMOVE:
      in_size_move_ = false;
      if (player) player->ResetClock();
      return 0;
    default:
      return consumed ? 0 : DefWindowProcW(window, message, wparam, lparam);
  }
}

}  // namespace cva
