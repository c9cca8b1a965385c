#pragma once

#include <windows.h>

#include "system/forwarding_services.h"

namespace cva {

// The system's services with message boxes owned by a window (the converter's dialog), so
// that the reader's messages stay in front of it and block it; everything else is passed on.
class OwnedMessageServices final : public ForwardingServices {
 public:
  explicit OwnedMessageServices(Services& base) : ForwardingServices(base) {}
  void set_owner(HWND owner) { owner_ = owner; }

  Answer ShowMessage(const std::string& text, const std::string& caption, Buttons buttons) override;

 private:
  HWND owner_ = nullptr;
};

// Shows `text` with `caption` and an OK button, owned by `owner`; texts are UTF-8.
void ShowOkMessage(HWND owner, const std::string& text, const std::string& caption);

}  // namespace cva
