#pragma once

#include <string>
#include <vector>

#include "frame_trace.h"
#include "system/services.h"

namespace cva::trace {

// Services for a trace: message boxes are recorded instead of shown (a trace has no window;
// the boxes become part of the trace), everything else goes to the services installed before.
// Installed for the lifetime of the object.
class CapturingServices final : public Services {
 public:
  CapturingServices() : inner_(SystemServices()) { SetSystemServices(this); }
  ~CapturingServices() override { SetSystemServices(&inner_); }
  CapturingServices(const CapturingServices&) = delete;
  CapturingServices& operator=(const CapturingServices&) = delete;

  Answer ShowMessage(const std::string& text, const std::string& caption,
                     Buttons buttons) override {
    messages_.push_back({caption, text});
    return buttons == Buttons::kOk ? Answer::kOk : Answer::kNo;
  }
  bool FileExists(const EncodedText& name) override { return inner_.FileExists(name); }
  bool ReadFile(const EncodedText& name, std::vector<uint8_t>& out) override {
    return inner_.ReadFile(name, out);
  }
  uint32_t TickCount() override { return inner_.TickCount(); }
  std::string CurrentDirectory() override { return inner_.CurrentDirectory(); }
  bool SetCurrentDirectory(const std::string& path) override {
    return inner_.SetCurrentDirectory(path);
  }
  void DebugOutput(const std::string& text) override { inner_.DebugOutput(text); }
  void ErrorOutput(const std::string& text) override { inner_.ErrorOutput(text); }

  // The messages recorded since the last call.
  std::vector<MessageTrace> TakeMessages() { return std::move(messages_); }

 private:
  Services& inner_;
  std::vector<MessageTrace> messages_;
};

}  // namespace cva::trace
