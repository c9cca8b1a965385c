#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "stream/encoded_text.h"
#include "system/random_access_file.h"

namespace cva {

// The few operating-system calls the portable core makes: message boxes with their fixed
// texts, reading named files, the tick count, the current directory and diagnostics.
// The core receives one instance; Windows and POSIX implement it, and tests record it.
// Texts are UTF-8; file names are stored names (UTF-16 names are used as wide paths,
// Shift-JIS names as narrow code page 932 paths).
class Services {
 public:
  enum class Buttons { kOk, kYesNo };
  enum class Answer { kOk, kYes, kNo };

  virtual ~Services() = default;

  virtual Answer ShowMessage(const std::string& text, const std::string& caption,
                             Buttons buttons) = 0;
  virtual bool FileExists(const EncodedText& name) = 0;
  // Reads the whole file in binary into `out`; false when it cannot be read.
  virtual bool ReadFile(const EncodedText& name, std::vector<uint8_t>& out) = 0;
  // Opens the file for reads at explicit offsets; nullptr when it cannot be opened. Each call
  // gives an independent reader. The platforms keep the file open; by default the whole file
  // is read into memory.
  virtual std::unique_ptr<RandomAccessFile> OpenFile(const EncodedText& name);
  // Milliseconds since an arbitrary start, wrapping at 2^32.
  virtual uint32_t TickCount() = 0;
  virtual std::string CurrentDirectory() = 0;
  virtual bool SetCurrentDirectory(const std::string& path) = 0;
  // Developer diagnostics (the debugger's output on Windows, standard error elsewhere).
  virtual void DebugOutput(const std::string& text) = 0;
  // Diagnostics to standard error, which the user of a windowed program never sees.
  virtual void ErrorOutput(const std::string& text) = 0;
};

// The process's services: the platform's own unless a test or tool installed others.
Services& SystemServices();
// Installs `services` (not owned) for the rest of the process; nullptr restores the default.
void SetSystemServices(Services* services);

// Name printed before diagnostics ("lzp", "cvaplay", ...).
const std::string& ProgramName();
void SetProgramName(std::string name);

}  // namespace cva
