// cvarender: plays a ".cva" document (or an lzp archive holding one) without a window through
// the software renderer and writes chosen frames as PNG files, an animated GIF or a contact
// sheet.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "command_line.h"
#include "contact_sheet.h"
#include "gif_file.h"
#include "png_file.h"
#include "render_session.h"
#include "system/services.h"

namespace {

using namespace cva::render_tool;

// Frames kept in memory for a GIF or a sheet may take at most this many bytes.
constexpr uint64_t kMaxKeptBytes = uint64_t{2} << 30;

int Fail(const std::string& text) {
  std::fprintf(stderr, "cvarender: %s\n", text.c_str());
  return 1;
}

bool ReadText(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream out;
  out << in.rdbuf();
  text = out.str();
  return !in.bad();
}

RgbaImage CopyFrame(const cva::SoftTexture& texture) {
  RgbaImage image;
  image.width = texture.width();
  image.height = texture.height();
  image.pixels = texture.pixels();
  return image;
}

// "frame 120/600" on standard error, rewritten in place at most ten times a second, only when
// standard error is a terminal and the render has taken more than a second.
class Progress {
 public:
  explicit Progress(int32_t total) : total_(total), on_(isatty(STDERR_FILENO) == 1) {}
  void Update(int32_t done) {
    if (!on_) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - start_ < std::chrono::seconds(1) || now - last_ < std::chrono::milliseconds(100))
      return;
    last_ = now;
    shown_ = true;
    std::fprintf(stderr, "\rcvarender: frame %d/%d", done, total_);
    std::fflush(stderr);
  }
  void Done() {
    if (shown_) std::fprintf(stderr, "\r\033[K");
  }

 private:
  int32_t total_;
  bool on_;
  bool shown_ = false;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  std::chrono::steady_clock::time_point last_{};
};

}  // namespace

int main(int argc, char** argv) {
  cva::SetProgramName("cvarender");
  CommandLine command;
  std::string error;
  if (!ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), command, error)) {
    std::fprintf(stderr, "cvarender: %s\n%s", error.c_str(), kUsage);
    return 2;
  }
  if (command.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (!command.input_script.empty()) {
    std::string script;
    if (!ReadText(command.input_script, script))
      return Fail("cannot read input script '" + command.input_script + "'");
    if (!cva::session::ParseInputScript(script, command.render.input_events, error))
      return Fail(command.input_script + ": " + error);
    // Frames here are pictures at a fixed step; varying steps are cvatrace's.
    for (const cva::session::InputEvent& event : command.render.input_events)
      if (event.kind == cva::session::InputEvent::Kind::kStep)
        return Fail(command.input_script + ": step events are not taken here (use --fixed)");
  }
  // Output paths are made absolute now: loading makes the document's directory current.
  auto absolute = [](std::string& path) {
    if (!path.empty()) path = std::filesystem::absolute(path).string();
  };
  absolute(command.out_dir);
  absolute(command.gif);
  absolute(command.sheet);

  const std::string input = command.render.input;
  RenderSession session(command.render);
  if (!session.Load()) return Fail(input + ": " + session.error());
  // Created only once the document has loaded, so a failed run leaves no empty folder.
  if (!command.out_dir.empty()) {
    std::error_code ec;
    std::filesystem::create_directories(command.out_dir, ec);
    if (ec) return Fail("cannot create '" + command.out_dir + "': " + ec.message());
  }
  const std::vector<PlannedFrame> plan = PlanFrames(command.frames, session.step_ms());
  const bool keep = !command.gif.empty() || !command.sheet.empty();
  const uint64_t frame_bytes = uint64_t(session.frame().width()) * session.frame().height() * 4;
  if (keep && frame_bytes * plan.size() > kMaxKeptBytes)
    return Fail("too many frames to keep for a GIF or sheet at this size; ask for fewer");

  std::vector<TimedFrame> kept;
  Progress progress(plan.back().frame + 1);
  for (const PlannedFrame& planned : plan) {
    while (session.frame_number() < planned.frame) {
      session.Step();
      progress.Update(session.frame_number());
    }
    for (const std::string& message : session.TakeMessages())
      std::fprintf(stderr, "cvarender: frame %d: message box %s\n", session.frame_number(),
                   message.c_str());
    RgbaImage image = CopyFrame(session.frame());
    if (!command.out_dir.empty()) {
      const std::string path = (std::filesystem::path(command.out_dir) / planned.file_name);
      if (!WritePng(path, image, error)) return Fail(error);
    }
    if (keep) kept.push_back({std::move(image), 0});
  }
  progress.Done();
  for (size_t i = 0; i < kept.size(); ++i) {
    const int32_t next = i + 1 < plan.size() ? plan[i + 1].frame : plan[i].frame + 1;
    const uint64_t ms = uint64_t(next - plan[i].frame) * session.step_ms();
    kept[i].duration_ms = static_cast<uint32_t>(std::min<uint64_t>(ms, UINT32_MAX));
  }
  if (!command.gif.empty() && !WriteGif(command.gif, kept, error)) return Fail(error);
  if (!command.sheet.empty()) {
    std::vector<const RgbaImage*> pictures;
    for (const TimedFrame& frame : kept) pictures.push_back(&frame.image);
    if (!WritePng(command.sheet, ContactSheet(pictures), error)) return Fail(error);
  }
  std::printf("cvarender: %zu frame%s of %d x %d, %u ms per frame", plan.size(),
              plan.size() == 1 ? "" : "s", session.frame().width(), session.frame().height(),
              session.step_ms());
  if (!command.out_dir.empty()) std::printf("; PNG files in %s", command.out_dir.c_str());
  if (!command.gif.empty()) std::printf("; GIF %s", command.gif.c_str());
  if (!command.sheet.empty()) std::printf("; sheet %s", command.sheet.c_str());
  std::printf("\n");
  return 0;
}
