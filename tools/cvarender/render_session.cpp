#include "render_session.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "archive_document.h"
#include "document/document.h"
#include "document_stage.h"
#include "headless_load.h"
#include "render/soft/glyphs/soft_text_primitive.h"

namespace cva::render_tool {
namespace {

bool IsArchive(const std::filesystem::path& path) {
  std::string ext = path.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext == ".lzp";
}

}  // namespace

RenderSession::RenderSession(RenderOptions options)
    : options_(std::move(options)), player_(ComposeProvider(), provider_, clear_target_) {
  UseSoftGlyphs(provider_);
  const int32_t cores = static_cast<int32_t>(std::thread::hardware_concurrency());
  provider_.SetThreads(options_.threads > 0 ? options_.threads : std::max(cores, 1));
}

RenderSession::~RenderSession() = default;

std::unique_ptr<ResourceProvider> RenderSession::ComposeProvider() {
  auto provider = std::make_unique<ComposedProvider>(provider_);
  composed_ = provider.get();
  return provider;
}

bool RenderSession::OpenInput(std::string& document_name, std::vector<uint8_t>& bytes) {
  const std::filesystem::path path(options_.input);
  if (!IsArchive(path)) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
      error_ = "cannot open the document";
      return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    document_name = path.filename().string();
    return true;
  }
  if (!archive_.OpenFile(path.string())) {
    error_ = "cannot open the archive";
    return false;
  }
  if (!archive_.has_magic()) {
    error_ = "not an lzp archive";
    return false;
  }
  document_name = session::ArchiveDocument(archive_, path.stem().string(), error_);
  if (document_name.empty()) return false;
  if (!archive_.OpenMember(document_name, bytes)) {
    error_ = "archive member '" + document_name + "' is damaged";
    return false;
  }
  composed_->SetDataSource(archive_source_);
  return true;
}

bool RenderSession::Load() {
  std::string document_name;
  std::vector<uint8_t> bytes;
  if (!OpenInput(document_name, bytes)) return false;
  const std::optional<session::DocumentStage> stage = session::ReadDocumentStage(bytes);
  if (!stage) {
    error_ = "'" + document_name + "' is not a document of the known version";
    return false;
  }
  const ImageSize size = options_.size ? *options_.size : stage->size;
  provider_.Resize(size.width, size.height);
  step_ms_ = options_.step_ms ? *options_.step_ms : stage->frame_ms;
  player_.clock().SetFixedStep(static_cast<int32_t>(step_ms_));

  const std::string directory = std::filesystem::path(options_.input).parent_path().string();
  if (!directory.empty() && !SystemServices().SetCurrentDirectory(directory)) {
    error_ = "cannot make '" + directory + "' the current directory";
    return false;
  }
  session::ApplyInputEvents(options_.input_events, 0, player_.input());
  if (!session::StartAtLabel(
          player_, services_, document_name, options_.label, [this] { RunFrame(); }, error_))
    return false;
  frame_number_ = 0;
  return true;
}

void RenderSession::Step() {
  ++frame_number_;
  session::ApplyInputEvents(options_.input_events, frame_number_, player_.input());
  RunFrame();
}

std::vector<std::string> RenderSession::TakeMessages() {
  std::vector<std::string> out;
  for (const session::CapturedMessage& m : services_.TakeMessages()) out.push_back(m.Describe());
  return out;
}

void RenderSession::RunFrame() {
  provider_.BeginFrame();
  player_.RunFrame(now_);
  // The frame's draws run now, while every texture they name is still loaded.
  provider_.Flush();
  now_ += step_ms_;
}

}  // namespace cva::render_tool
