#pragma once

#include <cstdint>

#include "stream/encoded_text.h"

namespace cva {

// Little-endian reader with six typed reads. Only ReadByte differs between readers; the
// other five are built from it. A read past the end yields zero bytes and sets a sticky
// failure flag, which the enclosing load tests once it has read a record.
class StreamReader {
 public:
  virtual ~StreamReader() = default;

  virtual bool ReadBool();
  virtual uint8_t ReadByte() = 0;
  virtual int16_t ReadShort();
  virtual int32_t ReadInt();
  virtual float ReadFloat();
  virtual EncodedText ReadText();

  bool failed() const { return failed_; }
  // Byte offset of the next read (for diagnostics).
  virtual uint32_t position() const = 0;
  // Bytes left before the end of the data; lets parsers bound counts by the data present.
  virtual uint32_t remaining() const = 0;

 protected:
  void MarkFailed() { failed_ = true; }

 private:
  bool failed_ = false;
};

}  // namespace cva
