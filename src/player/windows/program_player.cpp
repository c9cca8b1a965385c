#include "player/windows/program_player.h"

#include <string>
#include <utility>

#include "document/composed_provider.h"
#include "player/player.h"
#include "player/player_resources.h"
#include "player/windows/module_resource.h"
#include "render/d3d9/d3d9_graphics.h"
#include "sound/dsound/dsound_backend.h"
#include "sound/dsound/sound_device.h"
#include "stream/memory_reader.h"
#include "system/services.h"
#include "system/windows/program_folder.h"

namespace cva {
namespace {

constexpr const char* kNoDeviceText =
    "描画デバイスを作成できませんでした。画面には何も描かれませんが、再生は続きます。";
constexpr const char* kNoDeviceCaption = "描画の初期化の失敗";

bool AskFullScreenAtStart() {
  return SystemServices().ShowMessage("フルスクリーンで再生しますか？", "Windowモードの確認",
                                      Services::Buttons::kYesNo) == Services::Answer::kYes;
}

void MakeProgramDirectoryCurrent() {
  const std::wstring folder = ProgramFolder();
  if (!folder.empty()) SetCurrentDirectoryW(folder.c_str());
}

}  // namespace

PlayerSettings& ReadProgramSettings(HINSTANCE instance) {
  PlayerSettings& settings = Settings();
  MemoryReader record(FindModuleData(instance, kSettingsResource));
  ReadSettings(settings, record, &AskFullScreenAtStart);
  return settings;
}

ProgramPlayer::ProgramPlayer(HINSTANCE instance, HWND window) {
  RenderDevice& device = RenderDevice::Instance();
  if (FAILED(device.Create(window))) {
    // A screen saver builds a player for every window it gets: one message is enough.
    static bool told = false;
    if (!told) {
      told = true;
      SystemServices().ShowMessage(kNoDeviceText, kNoDeviceCaption, Services::Buttons::kOk);
    }
  }
  // Then the sound device for the window. Without one sounds play nothing, and the backend
  // tells the user when the first would have played; one backend for the process, so a
  // screen saver's players for several windows tell it once.
  SoundDevice& sound_device = SoundDevice::Instance();
  sound_device.Init(window);
  static DsoundBackend sound(sound_device);
  archive_ = std::make_unique<LzpArchive>();
  archive_->OpenMemory(FindModuleData(instance, kArchiveResource));
  if (Settings().data_inside) {
    data_ = std::make_unique<ArchiveDataSource>(*archive_);
  } else {
    data_ = std::make_unique<FileDataSource>();
  }
  graphics_ = std::make_unique<D3d9Graphics>(device);
  auto provider = std::make_unique<ComposedProvider>(*graphics_, sound);
  provider->SetDataSource(*data_);
  ClearColourTarget& clear_colour = *this;
  player_ = std::make_unique<Player>(std::move(provider), *graphics_, clear_colour);
}

ProgramPlayer::~ProgramPlayer() {
  player_.reset();
  graphics_.reset();
  SoundDevice::Instance().Release();
  RenderDevice::Instance().Release();
  data_.reset();
  archive_.reset();
}

void ProgramPlayer::Start(const PlayerSettings& settings) {
  player_->clock().SetFixedStep(settings.fixed_step ? settings.step : 0);
  MakeProgramDirectoryCurrent();
  player_->StartLoad(settings.document_name, settings.start_label);
}

void ProgramPlayer::RunFrame() {
  RenderDevice& device = RenderDevice::Instance();
  if (device.has_device()) {
    device.Frame(*this);
  } else {
    player_->RunFrame();
  }
}

void ProgramPlayer::RunFrameStep() {
  player_->RunFrame();
}

void ProgramPlayer::SetClearColour(Colour colour) {
  RenderDevice::Instance().SetClearColour(0xFF000000u | uint32_t{colour.red} << 16 |
                                          uint32_t{colour.green} << 8 | colour.blue);
}

}  // namespace cva
