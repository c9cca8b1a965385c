#pragma once

#include <cstdint>
#include <string>

struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Window;
union SDL_Event;

namespace cva {
class InputState;
class SoftTexture;
}  // namespace cva

namespace cva::play_tool {

// The player's window: its client area is the picture's size, or it fills the screen (the
// display mode left alone) with the picture scaled to fit and its aspect kept. The software
// renderer's frames are shown through a streaming texture.
class PlayWindow {
 public:
  PlayWindow() = default;
  ~PlayWindow();
  PlayWindow(const PlayWindow&) = delete;
  PlayWindow& operator=(const PlayWindow&) = delete;

  // False with `error` when the window, its renderer or its texture cannot be made. With
  // `vsync` presents wait for the display's vertical blank where the renderer can and the
  // display has one (it tells its refresh rate; a virtual display such as Xvfb does not).
  bool Open(const std::string& title, int32_t width, int32_t height, bool fullscreen, bool vsync,
            std::string& error);
  // Shows `frame` (of the size given to Open).
  void Present(const SoftTexture& frame);
  // Shows the last frame again (after the window was uncovered).
  void PresentAgain();

  SDL_Window* window() const { return window_; }
  // Whether the renderer was asked for and granted presents synchronised to the display.
  bool vsync_requested() const { return vsync_; }
  // The display's refresh rate in hertz, 0 when it does not tell.
  int refresh_hz() const { return refresh_hz_; }
  // The renderer's name ("opengl", "software", ...).
  std::string renderer_name() const;

 private:
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  int32_t width_ = 0;
  int32_t height_ = 0;
  bool vsync_ = false;
  int refresh_hz_ = 0;
};

// What a window event means to the player.
struct EventEffect {
  bool quit = false;         // Escape, or the window was closed
  bool reset_clock = false;  // the window became active again, or was moved
  bool activated = false;    // the window became active
  bool deactivated = false;  // the window lost the focus: no frames until it is back
  bool exposed = false;      // the picture must be shown again
};

// Feeds one event to `input` as the Windows window procedure feeds its messages: the pointer
// position in picture pixels, the left and right buttons, and any key down or up setting and
// clearing the key bit.
EventEffect HandleEvent(const SDL_Event& event, InputState& input);

}  // namespace cva::play_tool
