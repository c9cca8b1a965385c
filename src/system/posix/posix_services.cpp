#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "stream/text_conversion.h"
#include "system/services.h"

namespace cva {
namespace {

// A file descriptor read with pread, which leaves the descriptor's own position alone.
class PosixFile final : public RandomAccessFile {
 public:
  PosixFile(int fd, uint64_t size) : fd_(fd), size_(size) {}
  ~PosixFile() override { close(fd_); }
  PosixFile(const PosixFile&) = delete;
  PosixFile& operator=(const PosixFile&) = delete;

  uint64_t Size() const override { return size_; }
  size_t ReadAt(uint64_t offset, uint8_t* out, size_t count) override {
    size_t total = 0;
    while (total < count) {
      const ssize_t got =
          pread(fd_, out + total, count - total, static_cast<off_t>(offset + total));
      if (got <= 0) break;
      total += static_cast<size_t>(got);
    }
    return total;
  }

 private:
  int fd_;
  uint64_t size_;
};

class PosixServices final : public Services {
 public:
  // No window system: the message goes to standard error; questions are answered No.
  Answer ShowMessage(const std::string& text, const std::string& caption,
                     Buttons buttons) override {
    std::fprintf(stderr, "%s: [%s] %s\n", ProgramName().c_str(), caption.c_str(), text.c_str());
    return buttons == Buttons::kYesNo ? Answer::kNo : Answer::kOk;
  }
  bool FileExists(const EncodedText& name) override {
    struct stat st;
    return stat(ToUtf8(name).c_str(), &st) == 0;
  }
  bool ReadFile(const EncodedText& name, std::vector<uint8_t>& out) override {
    std::ifstream in(ToUtf8(name), std::ios::binary);
    if (!in) return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
  }
  std::unique_ptr<RandomAccessFile> OpenFile(const EncodedText& name) override {
    const int fd = open(ToUtf8(name).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
      close(fd);
      return nullptr;
    }
    return std::make_unique<PosixFile>(fd, static_cast<uint64_t>(st.st_size));
  }
  uint32_t TickCount() override {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint32_t>(static_cast<uint64_t>(ts.tv_sec) * 1000u + ts.tv_nsec / 1000000);
  }
  std::string CurrentDirectory() override {
    char buffer[4096];
    return getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string();
  }
  bool SetCurrentDirectory(const std::string& path) override { return chdir(path.c_str()) == 0; }
  void DebugOutput(const std::string& text) override { std::fputs(text.c_str(), stderr); }
  void ErrorOutput(const std::string& text) override { std::fputs(text.c_str(), stderr); }
};

}  // namespace

Services& PlatformServices() {
  static PosixServices services;
  return services;
}

}  // namespace cva
