#pragma once

#include <map>
#include <string>
#include <vector>

#include "json_values.h"
#include "stream/record_fields.h"

namespace cva::json {

// Fills records from the JSON that JsonWriteVisitor gives (or a hand-written equivalent).
// Every scalar, text and nested record must be present with the right type; lists and
// trailing bytes may be left out (empty). A key visited several times takes the items of its
// array in turn. Keys starting with '_' are comments; any other key a record does not visit
// is an error, so a misspelt key is reported rather than ignored. The first error stops all
// work and names the JSON path, e.g. "objects[3].record.vertex_x[2]: expected an integer".
class JsonReadVisitor {
 public:
  static constexpr bool kReading = true;
  // Records nested deeper than this are rejected rather than recursed into.
  static constexpr int kMaxDepth = 256;

  explicit JsonReadVisitor(const Json& root);

  bool ok() const { return error_.empty(); }
  const std::string& error() const { return error_; }
  FormatContext& context() { return context_; }
  // Reports `why` at the record being filled.
  void Fail(const std::string& why);

  void Flag(const char* key, cva::Flag& f);
  void Byte(const char* key, uint8_t& v);
  void Short(const char* key, int16_t& v);
  void Int(const char* key, int32_t& v);
  void Float(const char* key, float& v);
  void Text(const char* key, StoredText& t);
  void Rest(const char* key, std::vector<uint8_t>& bytes);

  template <class R>
  void Record(const char* key, R& record) {
    const Json* j = Take(key, true);
    if (!j || !Enter(*j, taken_path_)) return;
    record.Visit(*this);
    Leave();
  }

  template <class R>
  void List(const char* key, CountedList<R>& list) {
    list.items.clear();
    list.stored_count = 0;
    const Json* items = nullptr;
    if (!TakeListItems(key, list.stored_count, items) || !items) return;
    for (size_t i = 0; i < items->size() && ok(); ++i) {
      if (!Enter((*items)[i], FieldPath(key, static_cast<int>(i)))) return;
      list.items.emplace_back();
      list.items.back().Visit(*this);
      Leave();
    }
  }

  // Visits `record` as the top-level object, then checks that object's keys.
  template <class R>
  bool ReadTop(R& record) {
    if (ok()) record.Visit(*this);
    if (ok()) CheckKeys(frames_.front());
    return ok();
  }

 private:
  struct Use {
    int visits = 0;
    bool whole = false;  // taken as a whole (a list, trailing bytes), not item by item
  };
  struct Frame {
    const Json* object;
    std::string path;
    std::map<std::string, Use> uses;
  };

  // The value for the next visit of `key` (an item of its array when it is one), or null
  // when it is missing (an error when `required`). Sets taken_path_.
  const Json* Take(const std::string& key, bool required);
  // The value of `key` as a whole, or null when absent.
  const Json* TakeWhole(const std::string& key);
  // The array of a list and its stored count; false on error.
  bool TakeListItems(const char* key, int16_t& stored_count, const Json*& items);
  void Integer(const char* key, int64_t low, int64_t high, int64_t& value, bool& found);
  bool Enter(const Json& value, const std::string& path);
  void Leave();
  void CheckKeys(const Frame& frame);
  std::string FieldPath(const std::string& key, int index) const;
  void FailAt(const std::string& path, const std::string& why);

  std::vector<Frame> frames_;
  std::string taken_path_;
  FormatContext context_;
  std::string error_;
};

}  // namespace cva::json
