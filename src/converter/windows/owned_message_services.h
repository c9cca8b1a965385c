#pragma once

#include <windows.h>

#include "system/services.h"

namespace cva {

// The system's services with message boxes owned by a window (the converter's dialog), so
// that the reader's messages stay in front of it and block it; everything else is passed on.
class OwnedMessageServices final : public Services {
 public:
  explicit OwnedMessageServices(Services& base) : base_(base) {}
  void set_owner(HWND owner) { owner_ = owner; }

  Answer ShowMessage(const std::string& text, const std::string& caption, Buttons buttons) override;
  bool FileExists(const EncodedText& name) override { return base_.FileExists(name); }
  bool ReadFile(const EncodedText& name, std::vector<uint8_t>& out) override {
    return base_.ReadFile(name, out);
  }
  std::unique_ptr<RandomAccessFile> OpenFile(const EncodedText& name) override {
    return base_.OpenFile(name);
  }
  uint32_t TickCount() override { return base_.TickCount(); }
  std::string CurrentDirectory() override { return base_.CurrentDirectory(); }
  bool SetCurrentDirectory(const std::string& path) override {
    return base_.SetCurrentDirectory(path);
  }
  void DebugOutput(const std::string& text) override { base_.DebugOutput(text); }
  void ErrorOutput(const std::string& text) override { base_.ErrorOutput(text); }

 private:
  Services& base_;
  HWND owner_ = nullptr;
};

// Shows `text` with `caption` and an OK button, owned by `owner`; texts are UTF-8.
void ShowOkMessage(HWND owner, const std::string& text, const std::string& caption);

}  // namespace cva
