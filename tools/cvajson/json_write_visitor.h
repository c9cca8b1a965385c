#pragma once

#include <set>
#include <string>
#include <vector>

#include "json_values.h"
#include "stream/record_fields.h"

namespace cva::json {

// Turns records into JSON: one object per record, keyed by the field keys, in file order.
// A key a record visits several times in a row (the items of a list whose count is stored
// in a field of its own, the cells of a grid) becomes an array of the values from its second
// visit on. A CountedList is an array; an empty one whose stored count was negative gets an
// extra key "<key>_stored_count". Trailing bytes are hex and left out when there are none.
class JsonWriteVisitor {
 public:
  static constexpr bool kReading = false;

  JsonWriteVisitor() { frames_.push_back(Frame{}); }

  // The JSON object of the record visited at the top level.
  Json& result() { return frames_.front().value; }
  bool ok() const { return error_.empty(); }
  const std::string& error() const { return error_; }
  FormatContext& context() { return context_; }
  void Fail(const std::string& why) {
    if (error_.empty()) error_ = why;
  }

  void Flag(const char* key, cva::Flag& f) { Put(key, FlagToJson(f)); }
  void Byte(const char* key, uint8_t& v) { Put(key, v); }
  void Short(const char* key, int16_t& v) { Put(key, v); }
  void Int(const char* key, int32_t& v) { Put(key, v); }
  void Float(const char* key, float& v) { Put(key, FloatToJson(v)); }
  void Text(const char* key, StoredText& t) { Put(key, TextToJson(t)); }
  void Rest(const char* key, std::vector<uint8_t>& bytes) {
    if (!bytes.empty()) Put(key, ToHex(bytes));
  }

  template <class R>
  void Record(const char* key, R& record) {
    frames_.push_back(Frame{});
    record.Visit(*this);
    Json value = std::move(frames_.back().value);
    frames_.pop_back();
    Put(key, std::move(value));
  }

  template <class R>
  void List(const char* key, CountedList<R>& list) {
    if (list.items.size() > 0x7FFF)
      return Fail(std::string(key) + " holds more than 32767 entries");
    Json items = Json::array();
    for (R& item : list.items) {
      frames_.push_back(Frame{});
      item.Visit(*this);
      items.push_back(std::move(frames_.back().value));
      frames_.pop_back();
    }
    PutOnce(key, std::move(items));
    const int16_t count = list.CountToWrite();
    if (list.items.empty() && count != 0) PutOnce(std::string(key) + "_stored_count", count);
  }

 private:
  struct Frame {
    Json value = Json::object();
    std::set<std::string> repeated;  // keys whose value has become an array of visits
  };

  void Put(const std::string& key, Json value);
  void PutOnce(const std::string& key, Json value);

  std::vector<Frame> frames_;
  FormatContext context_;
  std::string error_;
};

}  // namespace cva::json
