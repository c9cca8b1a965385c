#pragma once

#include <map>
#include <string>
#include <vector>

#include "stream/text_conversion.h"
#include "system/services.h"

namespace cva::testing {

// Services that touch nothing: files come from a map, messages and diagnostics are recorded.
// Installed for the lifetime of the object.
class RecordingServices final : public Services {
 public:
  struct Message {
    std::string text;
    std::string caption;
    Buttons buttons;
  };

  RecordingServices() { SetSystemServices(this); }
  ~RecordingServices() override { SetSystemServices(nullptr); }

  Answer ShowMessage(const std::string& text, const std::string& caption,
                     Buttons buttons) override {
    messages.push_back({text, caption, buttons});
    if (buttons == Buttons::kOk) return Answer::kOk;
    return answer_yes ? Answer::kYes : Answer::kNo;
  }
  bool FileExists(const EncodedText& name) override { return files.count(Key(name)) > 0; }
  bool ReadFile(const EncodedText& name, std::vector<uint8_t>& out) override {
    auto it = files.find(Key(name));
    if (it == files.end()) return false;
    ++reads;
    out = it->second;
    return true;
  }
  uint32_t TickCount() override { return ticks; }
  std::string CurrentDirectory() override { return directory; }
  bool SetCurrentDirectory(const std::string& path) override {
    directory = path;
    return true;
  }
  void DebugOutput(const std::string& text) override { debug.push_back(text); }
  void ErrorOutput(const std::string& text) override { errors.push_back(text); }

  // Files are keyed by their UTF-8 name.
  static std::string Key(const EncodedText& name) { return ToUtf8(name); }

  std::map<std::string, std::vector<uint8_t>> files;
  std::vector<Message> messages;
  std::vector<std::string> debug;
  std::vector<std::string> errors;
  bool answer_yes = false;
  uint32_t ticks = 0;
  int reads = 0;
  std::string directory = "/";
};

}  // namespace cva::testing
