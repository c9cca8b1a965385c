#pragma once

#include <string>
#include <utility>
#include <vector>

#include "captured_message.h"
#include "system/forwarding_services.h"

namespace cva::session {

// Services for headless playback: message boxes are recorded instead of shown (there is no
// window; the tools report the boxes themselves), everything else goes to the services
// installed before. Installed for the lifetime of the object.
class CapturingServices final : public ForwardingServices {
 public:
  CapturingServices() : ForwardingServices(SystemServices()) { SetSystemServices(this); }
  ~CapturingServices() override { SetSystemServices(&inner()); }
  CapturingServices(const CapturingServices&) = delete;
  CapturingServices& operator=(const CapturingServices&) = delete;

  Answer ShowMessage(const std::string& text, const std::string& caption,
                     Buttons buttons) override {
    messages_.push_back({caption, text});
    return buttons == Buttons::kOk ? Answer::kOk : Answer::kNo;
  }

  // The messages recorded since the last call.
  std::vector<CapturedMessage> TakeMessages() { return std::exchange(messages_, {}); }

 private:
  std::vector<CapturedMessage> messages_;
};

}  // namespace cva::session
