#include "sdl_services.h"

#include <SDL.h>

#include <cstdio>

namespace cva::play_tool {

SdlServices::SdlServices(bool dialogs) : ForwardingServices(SystemServices()), dialogs_(dialogs) {
  SetSystemServices(this);
}

SdlServices::~SdlServices() {
  SetSystemServices(&inner());
}

Services::Answer SdlServices::ShowMessage(const std::string& text, const std::string& caption,
                                          Buttons buttons) {
  ++message_count_;
  std::fprintf(stderr, "cvaplay: [%s] %s\n", caption.c_str(), text.c_str());
  std::fflush(stderr);
  const bool yes_no = buttons == Buttons::kYesNo;
  if (!dialogs_) return yes_no ? Answer::kNo : Answer::kOk;
  const SDL_MessageBoxButtonData ok[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "OK"}};
  const SDL_MessageBoxButtonData yes_and_no[] = {
      {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "いいえ"},
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "はい"}};
  SDL_MessageBoxData box{};
  box.flags = yes_no ? SDL_MESSAGEBOX_INFORMATION : SDL_MESSAGEBOX_WARNING;
  box.window = window_;
  box.title = caption.c_str();
  box.message = text.c_str();
  box.numbuttons = yes_no ? 2 : 1;
  box.buttons = yes_no ? yes_and_no : ok;
  int chosen = 0;
  if (SDL_ShowMessageBox(&box, &chosen) != 0) {
    // SDL's dialogs need zenity or X core fonts; the text above is what the user gets then.
    std::fprintf(stderr, "cvaplay: (no dialog could be shown: %s)\n", SDL_GetError());
    return yes_no ? Answer::kNo : Answer::kOk;
  }
  if (!yes_no) return Answer::kOk;
  return chosen == 1 ? Answer::kYes : Answer::kNo;
}

}  // namespace cva::play_tool
