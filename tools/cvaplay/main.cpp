// cvaplay: plays a document, an archive holding one, or a generated player program in a window
// on Linux, with its sounds and its buttons, as the Windows player shows it.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "command_line.h"
#include "frame_pacer.h"
#include "play_input.h"
#include "play_session.h"
#include "play_stats.h"
#include "play_window.h"
#include "sdl_services.h"

namespace {

using namespace cva::play_tool;

int Fail(const std::string& text) {
  std::fprintf(stderr, "cvaplay: %s\n", text.c_str());
  return 1;
}

// SDL's video for the window and its message boxes, shut down last.
struct SdlVideo {
  bool ok = SDL_Init(SDL_INIT_VIDEO) == 0;
  ~SdlVideo() { SDL_Quit(); }
};

// The frame loop: frames while the window is active and the frame budget (--frames) lasts,
// waiting in the event queue between them; returns when the player is to quit, with whether the
// display paced the frames.
bool Play(PlaySession& session, PlayWindow& window, const cva::play_tool::CommandLine& command,
          PlayStats* stats) {
  cva::Player& player = session.player();
  FramePacer pacer(window.vsync_requested(), window.refresh_hz(), session.document_frame_ms());
  int32_t frames_left = command.frames.value_or(-1);
  bool active = true;
  bool held = false;
  // Time spent opening the window is not played back.
  player.ResetClock();
  for (;;) {
    // Input waits in the queue until the next frame is due; without frames to run (inactive,
    // or held) the wait lasts until an event arrives.
    const bool running = active && !held;
    const int wait = running ? pacer.WaitMs(FramePacer::Clock::now()) : -1;
    SDL_Event event;
    bool have = wait == 0 ? SDL_PollEvent(&event) != 0
                          : SDL_WaitEventTimeout(&event, wait < 0 ? 500 : wait) != 0;
    while (have) {
      const EventEffect effect = HandleEvent(event, player.input());
      if (effect.quit) return pacer.vsync();
      if (effect.deactivated) active = false;
      if (effect.activated) active = true;
      if (effect.reset_clock) player.ResetClock();
      if (effect.exposed && !running) window.PresentAgain();
      have = SDL_PollEvent(&event) != 0;
    }
    if (!running || pacer.WaitMs(FramePacer::Clock::now()) > 0) continue;
    const auto start = FramePacer::Clock::now();
    pacer.FrameStarted(start);
    session.RunFrame();
    const auto rendered = FramePacer::Clock::now();
    window.Present(session.frame());
    if (stats) stats->Frame(start, rendered, FramePacer::Clock::now());
    if (frames_left > 0 && --frames_left == 0) {
      held = true;
      std::printf("cvaplay: holding the picture\n");
      std::fflush(stdout);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  cva::SetProgramName("cvaplay");
  cva::play_tool::CommandLine command;
  std::string error;
  if (!ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), command, error)) {
    std::fprintf(stderr, "cvaplay: %s\n%s", error.c_str(), kUsage);
    return 2;
  }
  if (command.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  SdlVideo video;
  const bool dialogs = !command.no_dialogs && !std::getenv("CVAPLAY_NO_DIALOGS") && video.ok;
  SdlServices services(dialogs);

  PlayInput input;
  if (!OpenPlayInput(command, input, error)) return Fail(command.input + ": " + error);
  PlaySession session(input);
  // The document loads before the window opens: input that cannot be played leaves no window.
  if (!session.Load(error)) return Fail(command.input + ": " + error);
  if (!video.ok) return Fail(std::string("cannot open a window: ") + SDL_GetError());

  PlayWindow window;
  if (!window.Open(input.title, input.settings.width, input.settings.height,
                   !input.settings.windowed, !command.no_vsync, error))
    return Fail(error);
  services.set_window(window.window());
  PlayStats stats;
  const bool pacer_vsync = Play(session, window, command, command.stats ? &stats : nullptr);
  if (command.stats)
    std::printf("cvaplay: %s; renderer %s, %s\n", stats.Report().c_str(),
                window.renderer_name().c_str(),
                pacer_vsync ? "paced by the display" : "timed frames");
  return 0;
}
