#pragma once

#include <string>

#include "stream/byte_writer.h"
#include "stream/record_fields.h"

namespace cva {

// Writes records back in their stored form (the inverse of ReadVisitor).
class WriteVisitor {
 public:
  static constexpr bool kReading = false;

  explicit WriteVisitor(ByteWriter& out) : out_(out) {}

  bool ok() const { return error_.empty(); }
  FormatContext& context() { return context_; }
  const std::string& error() const { return error_; }
  void Fail(const std::string& why) {
    if (error_.empty()) error_ = why;
  }

  void Flag(const char*, cva::Flag& f) { out_.Byte(f.raw); }
  void Byte(const char*, uint8_t& v) { out_.Byte(v); }
  void Short(const char*, int16_t& v) { out_.Short(v); }
  void Int(const char*, int32_t& v) { out_.Int(v); }
  void Float(const char*, float& v) { out_.Float(v); }
  void Text(const char*, StoredText& t) {
    out_.Short(t.length);
    if (t.length <= 0) return;
    out_.Byte(t.encoding);
    for (int i = 0; i < t.length; ++i)
      out_.Byte(i < static_cast<int>(t.bytes.size()) ? t.bytes[i] : 0);
  }
  void Rest(const char*, std::vector<uint8_t>& bytes) { out_.Bytes(bytes); }
  template <class R>
  void Record(const char*, R& record) {
    record.Visit(*this);
  }
  template <class R>
  void List(const char*, CountedList<R>& list) {
    if (list.items.size() > 0x7FFF) return Fail("a list holds more than 32767 entries");
    out_.Short(list.CountToWrite());
    for (R& item : list.items) item.Visit(*this);
  }

 private:
  ByteWriter& out_;
  FormatContext context_;
  std::string error_;
};

}  // namespace cva
