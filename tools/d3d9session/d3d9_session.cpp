#include "d3d9_session.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "document/composed_provider.h"
#include "document/document.h"
#include "document_stage.h"
#include "headless_load.h"
#include "test_window.h"

// <windows.h> renames SetCurrentDirectory to its narrow variant; the services' own is meant.
#undef SetCurrentDirectory

namespace cva::d3d9_session {

bool EnsureDevice() {
  static const bool created = SUCCEEDED(RenderDevice::Instance().Create(HiddenWindow()));
  return created && RenderDevice::Instance().has_device();
}

D3d9Session::D3d9Session(SessionOptions options)
    : options_(std::move(options)),
      graphics_(RenderDevice::Instance()),
      player_(std::make_unique<ComposedProvider>(graphics_), graphics_, clear_target_) {}

D3d9Session::~D3d9Session() = default;

bool D3d9Session::Load() {
  if (!EnsureDevice()) {
    error_ = "Direct3D 9 made no device";
    return false;
  }
  const std::filesystem::path path(options_.input);
  std::ifstream in(path, std::ios::binary);
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>()};
  const std::optional<session::DocumentStage> stage = session::ReadDocumentStage(bytes);
  if (!stage) {
    error_ = "'" + options_.input + "' is not a readable document of the known version";
    return false;
  }
  const ImageSize size = options_.size ? *options_.size : stage->size;
  SetClientSize(size.width, size.height);
  RenderDevice& device = RenderDevice::Instance();
  device.SetClearColour(0xFF000000);
  device.Resize(size.width, size.height);
  step_ms_ = options_.step_ms ? *options_.step_ms : stage->frame_ms;
  player_.clock().SetFixedStep(static_cast<int32_t>(step_ms_));

  const std::string directory = path.parent_path().string();
  if (!directory.empty() && !SystemServices().SetCurrentDirectory(directory)) {
    error_ = "cannot make '" + directory + "' the current directory";
    return false;
  }
  const std::string name = path.filename().string();
  if (!session::StartAtLabel(
          player_, services_, name, options_.label, [this] { RunFrame(); }, error_))
    return false;
  frame_number_ = 0;
  return true;
}

void D3d9Session::Step() {
  ++frame_number_;
  RunFrame();
}

void D3d9Session::RunFrame() {
  PumpMessages();
  last_status_ = RenderDevice::Instance().Frame(*this);
  now_ += step_ms_;
}

void D3d9Session::RunFrameStep() {
  player_.RunFrame(now_);
  if (options_.read_back) RenderDevice::Instance().ReadBackBuffer(frame_);
}

}  // namespace cva::d3d9_session
