#include "player/windows/player_app.h"

#include <string>
#include <utility>

#include "document/composed_provider.h"
#include "player/player.h"
#include "player/player_settings.h"
#include "player/windows/module_resource.h"
#include "render/d3d9/d3d9_graphics.h"
#include "stream/memory_reader.h"
#include "system/services.h"

namespace cva {
namespace {

// Resource identifiers of the player template.
constexpr UINT kTitleString = 40000;
constexpr UINT kClassString = 109;
constexpr int kIcon = 107;
constexpr int kSmallIcon = 108;
constexpr int kAccelerators = 109;
constexpr int kArchiveData = 200;
constexpr int kSettingsData = 201;

// Without a device nothing paces the loop, so frames are spaced about as a display would.
constexpr DWORD kFrameIntervalWithoutDevice = 16;

constexpr const char* kNoDeviceText =
    "描画デバイスを作成できませんでした。画面には何も描かれませんが、再生は続きます。";
constexpr const char* kNoDeviceCaption = "描画の初期化の失敗";

PlayerApp* g_app = nullptr;  // the one instance, for the window procedure

bool AskFullScreenAtStart() {
  return SystemServices().ShowMessage("フルスクリーンで再生しますか？", "Windowモードの確認",
                                      Services::Buttons::kYesNo) == Services::Answer::kYes;
}

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
  PlayerSettings& settings = Settings();
  MemoryReader record(FindModuleData(instance, kSettingsData));
  ReadSettings(settings, record, &AskFullScreenAtStart);
  if (settings.windowed) {
    display_modes_->SetRequestedSize(settings.width, settings.height);
    display_modes_->Apply(window_, true);
    ShowWindow(window_, show_command);
  } else {
    display_modes_->SwitchMode(settings.width, settings.height);
    display_modes_->Apply(window_, false);
  }

  CreatePlayer();
  player_->clock().SetFixedStep(settings.fixed_step ? settings.step : 0);
  MakeProgramDirectoryCurrent();
  player_->StartLoad(settings.document_name, settings.start_label);
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
  RenderDevice& device = RenderDevice::Instance();
  if (FAILED(device.Create(window_))) {
    // Frames and primitives then do nothing; the document still plays (and sounds).
    SystemServices().ShowMessage(kNoDeviceText, kNoDeviceCaption, Services::Buttons::kOk);
  }
  archive_ = std::make_unique<LzpArchive>();
  archive_->OpenMemory(FindModuleData(instance_, kArchiveData));
  if (Settings().data_inside) {
    data_ = std::make_unique<ArchiveDataSource>(*archive_);
  } else {
    data_ = std::make_unique<FileDataSource>();
  }
  graphics_ = std::make_unique<D3d9Graphics>(device);
  auto provider = std::make_unique<ComposedProvider>(*graphics_);
  provider->SetDataSource(*data_);
  ClearColourTarget& clear_colour = *this;
  player_ = std::make_unique<Player>(std::move(provider), *graphics_, clear_colour);
}

void PlayerApp::MakeProgramDirectoryCurrent() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return;
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);  // a long path: try again with room for it
  }
  const size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return;
  path.resize(slash + 1);
  SetCurrentDirectoryW(path.c_str());
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
      RenderDevice& device = RenderDevice::Instance();
      if (device.has_device()) {
        device.Frame(*this);
      } else {
        player_->RunFrame();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kFrameIntervalWithoutDevice, QS_ALLINPUT);
      }
    }
  }
  return static_cast<int>(message.wParam);
}

void PlayerApp::TearDown() {
  // The player first (host, provider, input and draw state), then what it drew and read
  // with, then the device; the process-wide objects last, newest first.
  player_.reset();
  graphics_.reset();
  RenderDevice::Instance().Release();
  display_modes_.reset();
  data_.reset();
  archive_.reset();
}

void PlayerApp::RunFrameStep() {
  player_->RunFrame();
}

void PlayerApp::SetClearColour(Colour colour) {
  RenderDevice::Instance().SetClearColour(0xFF000000u | uint32_t{colour.red} << 16 |
                                          uint32_t{colour.green} << 8 | colour.blue);
}

LRESULT CALLBACK PlayerApp::WindowProcedure(HWND window, UINT message, WPARAM wparam,
                                            LPARAM lparam) {
  if (!g_app) return DefWindowProcW(window, message, wparam, lparam);
  return g_app->HandleMessage(window, message, wparam, lparam);
}

LRESULT PlayerApp::HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  // Input first; messages before the player exists (the sizing at creation) skip it.
  const bool consumed =
      player_ && player_->input().HandleMessage(message, static_cast<uint32_t>(lparam));
  switch (message) {
    case WM_SIZE:
      RenderDevice::Instance().Resize(LOWORD(lparam), HIWORD(lparam));
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wparam) == WA_INACTIVE) {
        active_ = false;
      } else {
        active_ = true;
        if (player_) player_->ResetClock();
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
      if (player_) player_->ResetClock();
      return 0;
    default:
      return consumed ? 0 : DefWindowProcW(window, message, wparam, lparam);
  }
}

}  // namespace cva
