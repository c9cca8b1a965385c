#include "play_window.h"

#include <SDL.h>

#include <algorithm>

#include "player/input_state.h"
#include "render/soft/soft_texture.h"

namespace cva::play_tool {

PlayWindow::~PlayWindow() {
  if (texture_) SDL_DestroyTexture(texture_);
  if (renderer_) SDL_DestroyRenderer(renderer_);
  if (window_) SDL_DestroyWindow(window_);
}

bool PlayWindow::Open(const std::string& title, int32_t width, int32_t height, bool fullscreen,
                      bool vsync, std::string& error) {
  width_ = width;
  height_ = height;
  const Uint32 flags = fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS : 0;
  int x = SDL_WINDOWPOS_CENTERED, y = SDL_WINDOWPOS_CENTERED, w = width, h = height;
  SDL_DisplayMode desktop{};
  if (fullscreen && SDL_GetDesktopDisplayMode(0, &desktop) == 0) {
    // The window also covers the screen by its own size and place, for X servers without a
    // window manager to honour the full-screen state.
    x = y = 0;
    w = desktop.w;
    h = desktop.h;
  }
  window_ = SDL_CreateWindow(title.c_str(), x, y, w, h, flags);
  if (!window_) {
    error = std::string("cannot open a window: ") + SDL_GetError();
    return false;
  }
  SDL_DisplayMode mode{};
  const int display = SDL_GetWindowDisplayIndex(window_);
  if (display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0 && mode.refresh_rate > 0)
    refresh_hz_ = mode.refresh_rate;
  if (vsync && refresh_hz_ > 0)
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_PRESENTVSYNC);
  if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, 0);
  if (!renderer_) {
    error = std::string("cannot draw into the window: ") + SDL_GetError();
    return false;
  }
  SDL_RendererInfo info{};
  SDL_GetRendererInfo(renderer_, &info);
  vsync_ = (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
  // Scaled to fit with the aspect kept (bars around it), and pointer positions reported in
  // picture pixels; a window of the picture's size is drawn one to one.
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
  SDL_RenderSetLogicalSize(renderer_, width, height);
  texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_STREAMING,
                               width, height);
  if (!texture_) {
    error = std::string("cannot make the picture's texture: ") + SDL_GetError();
    return false;
  }
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  return true;
}

void PlayWindow::Present(const SoftTexture& frame) {
  if (frame.width() == width_ && frame.height() == height_)
    SDL_UpdateTexture(texture_, nullptr, frame.pixels().data(), width_ * 4);
  PresentAgain();
}

void PlayWindow::PresentAgain() {
  SDL_RenderClear(renderer_);
  SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
  SDL_RenderPresent(renderer_);
}

std::string PlayWindow::renderer_name() const {
  SDL_RendererInfo info{};
  SDL_GetRendererInfo(renderer_, &info);
  return info.name ? info.name : "";
}

EventEffect HandleEvent(const SDL_Event& event, InputState& input) {
  EventEffect effect;
  switch (event.type) {
    case SDL_QUIT:
      effect.quit = true;
      break;
    case SDL_KEYDOWN:
      input.HandleMessage(InputState::kKeyDown, 0);
      if (event.key.keysym.sym == SDLK_ESCAPE) effect.quit = true;
      break;
    case SDL_KEYUP:
      input.HandleMessage(InputState::kKeyUp, 0);
      break;
    case SDL_MOUSEMOTION: {
      // As the window system packs a client position: 16 bits each, x low, y high.
      const auto x = static_cast<uint32_t>(std::clamp(event.motion.x, 0, 0xFFFF));
      const auto y = static_cast<uint32_t>(std::clamp(event.motion.y, 0, 0xFFFF));
      input.HandleMessage(InputState::kMouseMove, x | y << 16);
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      const bool down = event.type == SDL_MOUSEBUTTONDOWN;
      if (event.button.button == SDL_BUTTON_LEFT)
        input.HandleMessage(down ? InputState::kLeftButtonDown : InputState::kLeftButtonUp, 0);
      else if (event.button.button == SDL_BUTTON_RIGHT)
        input.HandleMessage(down ? InputState::kRightButtonDown : InputState::kRightButtonUp, 0);
      break;
    }
    case SDL_WINDOWEVENT:
      switch (event.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          effect.activated = true;
          effect.reset_clock = true;
          break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          effect.deactivated = true;
          break;
        case SDL_WINDOWEVENT_MOVED:
          effect.reset_clock = true;
          break;
        case SDL_WINDOWEVENT_EXPOSED:
          effect.exposed = true;
          break;
        default:
          break;
      }
      break;
    default:
      break;
  }
  return effect;
}

}  // namespace cva::play_tool
