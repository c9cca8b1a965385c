#pragma once

#include <string>
#include <vector>

#include "system/forwarding_services.h"

struct SDL_Window;

namespace cva::play_tool {

// The services of the player window: every message box the core raises is written to
// standard error ("cvaplay: [caption] text") and, unless dialogs are off, shown as an SDL
// message box over the window (or alone before there is one); everything else goes to the
// services installed before. Installed for the lifetime of the object.
class SdlServices final : public ForwardingServices {
 public:
  explicit SdlServices(bool dialogs);
  ~SdlServices() override;
  SdlServices(const SdlServices&) = delete;
  SdlServices& operator=(const SdlServices&) = delete;

  // The window dialogs are shown over (null for none).
  void set_window(SDL_Window* window) { window_ = window; }
  // How many message boxes were raised so far.
  int message_count() const { return message_count_; }

  // Without dialogs a yes/no question is answered "no".
  Answer ShowMessage(const std::string& text, const std::string& caption, Buttons buttons) override;

 private:
  bool dialogs_;
  SDL_Window* window_ = nullptr;
  int message_count_ = 0;
};

}  // namespace cva::play_tool
