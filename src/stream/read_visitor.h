#pragma once

#include <string>
#include <vector>

#include "stream/record_fields.h"
#include "stream/stream_reader.h"

namespace cva {

// Fills records from a StreamReader with its six reads. The first failure (a read past the
// end, or a record's own Fail) stops all further work and is kept with its byte offset and
// the path of the field, e.g. "objects[3].vertices[12].x".
class ReadVisitor {
 public:
  static constexpr bool kReading = true;
  // Nesting deeper than this (scene trees, handler trees, joint trees) is rejected rather
  // than recursed into, so a crafted document cannot overflow the stack.
  static constexpr int kMaxDepth = 256;

  explicit ReadVisitor(StreamReader& reader) : reader_(reader) {}

  bool ok() const { return !failed_; }
  const std::string& error() const { return error_; }
  uint32_t error_offset() const { return error_offset_; }
  StreamReader& reader() { return reader_; }
  FormatContext& context() { return context_; }

  void Fail(const std::string& why) { FailAt(why, reader_.position()); }

  void Flag(const char* key, cva::Flag& f) {
    Read(key, [&] { f.raw = reader_.ReadByte(); });
  }
  void Byte(const char* key, uint8_t& v) {
    Read(key, [&] { v = reader_.ReadByte(); });
  }
  void Short(const char* key, int16_t& v) {
    Read(key, [&] { v = reader_.ReadShort(); });
  }
  void Int(const char* key, int32_t& v) {
    Read(key, [&] { v = reader_.ReadInt(); });
  }
  void Float(const char* key, float& v) {
    Read(key, [&] { v = reader_.ReadFloat(); });
  }
  void Text(const char* key, StoredText& t) {
    Read(key, [&] {
      t.length = reader_.ReadShort();
      t.bytes.clear();
      if (t.length <= 0) return;
      t.encoding = reader_.ReadByte();
      // Stop at the end of the data instead of collecting zeros.
      const uint32_t n = static_cast<uint32_t>(t.length);
      t.bytes.reserve(n < reader_.remaining() ? n : reader_.remaining());
      for (uint32_t i = 0; i < n && !reader_.failed(); ++i) t.bytes.push_back(reader_.ReadByte());
    });
  }

  void Rest(const char* key, std::vector<uint8_t>& bytes) {
    Read(key, [&] {
      bytes.clear();
      bytes.reserve(reader_.remaining());
      while (reader_.remaining() > 0) bytes.push_back(reader_.ReadByte());
    });
  }

  template <class R>
  void Record(const char* key, R& record) {
    if (!Enter(key, -1)) return;
    record.Visit(*this);
    Leave();
  }

  template <class R>
  void List(const char* key, CountedList<R>& list) {
    Short(key, list.stored_count);
    list.items.clear();
    for (int i = 0; i < list.stored_count && ok(); ++i) {
      if (!Enter(key, i)) return;
      list.items.emplace_back();
      list.items.back().Visit(*this);
      Leave();
    }
  }

 private:
  struct PathPart {
    const char* key;
    int index;
  };

  template <class F>
  void Read(const char* key, F&& read) {
    if (failed_) return;
    const uint32_t at = reader_.position();
    read();
    if (reader_.failed()) FailAt(std::string("unexpected end of data reading '") + key + "'", at);
  }
  bool Enter(const char* key, int index) {
    if (failed_) return false;
    if (static_cast<int>(path_.size()) >= kMaxDepth) {
      Fail("nesting deeper than " + std::to_string(kMaxDepth) + " levels");
      return false;
    }
    path_.push_back({key, index});
    return true;
  }
  void Leave() { path_.pop_back(); }
  void FailAt(const std::string& why, uint32_t offset);

  StreamReader& reader_;
  FormatContext context_;
  std::vector<PathPart> path_;
  bool failed_ = false;
  std::string error_;
  uint32_t error_offset_ = 0;
};

inline void ReadVisitor::FailAt(const std::string& why, uint32_t offset) {
  if (failed_) return;
  failed_ = true;
  error_offset_ = offset;
  std::string where;
  for (const PathPart& p : path_) {
    if (!where.empty() && p.index < 0) where += '.';
    if (p.index < 0 || where.empty()) where += p.key;
    if (p.index >= 0) where += "[" + std::to_string(p.index) + "]";
  }
  error_ = where.empty() ? why : why + " in " + where;
}

}  // namespace cva
