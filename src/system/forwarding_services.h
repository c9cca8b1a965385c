#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "system/services.h"

namespace cva {

// Services that show message boxes their own way (captured by a headless tool, owned by a
// dialog, shown by SDL) and pass every other call on to the services they wrap.
class ForwardingServices : public Services {
 public:
  explicit ForwardingServices(Services& inner) : inner_(inner) {}

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

 protected:
  Services& inner() { return inner_; }

 private:
  Services& inner_;
};

}  // namespace cva
