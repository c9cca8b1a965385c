#pragma once

#include <string>
#include <utility>
#include <vector>

#include "captured_message.h"
#include "system/services.h"

namespace cva::session {

// Services for headless playback: message boxes are recorded instead of shown (there is no
// window; the tools report the boxes themselves), everything else goes to the services
// installed before. Installed for the lifetime of the object.
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
  std::unique_ptr<RandomAccessFile> OpenFile(const EncodedText& name) override {
    return inner_.OpenFile(name);
  }
  uint32_t TickCount() override { return inner_.TickCount(); }
  std::string CurrentDirectory() override { return inner_.CurrentDirectory(); }
  bool SetCurrentDirectory(const std::string& path) override {
    return inner_.SetCurrentDirectory(path);
  }
  void DebugOutput(const std::string& text) override { inner_.DebugOutput(text); }
  void ErrorOutput(const std::string& text) override { inner_.ErrorOutput(text); }

  // The messages recorded since the last call.
  std::vector<CapturedMessage> TakeMessages() { return std::exchange(messages_, {}); }

 private:
  Services& inner_;
  std::vector<CapturedMessage> messages_;
};

}  // namespace cva::session
