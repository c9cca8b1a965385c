#include "json_read_visitor.h"

#include <cstdint>

namespace cva::json {

JsonReadVisitor::JsonReadVisitor(const Json& root) {
  frames_.push_back(Frame{&root, "", {}});
  if (!root.is_object()) FailAt("", "expected a JSON object");
}

void JsonReadVisitor::Fail(const std::string& why) {
  FailAt(frames_.back().path, why);
}

void JsonReadVisitor::FailAt(const std::string& path, const std::string& why) {
  if (!error_.empty()) return;
  error_ = path.empty() ? why : path + ": " + why;
}

std::string JsonReadVisitor::FieldPath(const std::string& key, int index) const {
  const std::string& parent = frames_.back().path;
  std::string path = parent.empty() ? key : parent + "." + key;
  if (index >= 0) path += "[" + std::to_string(index) + "]";
  return path;
}

const Json* JsonReadVisitor::Take(const std::string& key, bool required) {
  if (!ok()) return nullptr;
  Frame& frame = frames_.back();
  Use& use = frame.uses[key];
  const int visit = use.visits++;
  auto it = frame.object->find(key);
  if (it == frame.object->end()) {
    if (required) FailAt(FieldPath(key, -1), "missing");
    return nullptr;
  }
  if (it->is_array()) {
    if (static_cast<size_t>(visit) >= it->size()) {
      FailAt(FieldPath(key, -1), "has " + std::to_string(it->size()) + " values; more are needed");
      return nullptr;
    }
    taken_path_ = FieldPath(key, visit);
    return &(*it)[static_cast<size_t>(visit)];
  }
  if (visit > 0) {
    FailAt(FieldPath(key, -1), "has one value; more are needed (write an array)");
    return nullptr;
  }
  taken_path_ = FieldPath(key, -1);
  return &*it;
}

const Json* JsonReadVisitor::TakeWhole(const std::string& key) {
  Frame& frame = frames_.back();
  Use& use = frame.uses[key];
  if (use.visits++ > 0) {
    FailAt(FieldPath(key, -1), "visited twice as a list");
    return nullptr;
  }
  use.whole = true;
  auto it = frame.object->find(key);
  return it == frame.object->end() ? nullptr : &*it;
}

bool JsonReadVisitor::TakeListItems(const char* key, int16_t& stored_count, const Json*& items) {
  if (!ok()) return false;
  items = TakeWhole(key);
  const std::string count_key = std::string(key) + "_stored_count";
  const Json* count = TakeWhole(count_key);
  if (!ok()) return false;
  if (items && (!items->is_array() || items->size() > 0x7FFF)) {
    FailAt(FieldPath(key, -1), "expected an array of at most 32767 records");
    return false;
  }
  const size_t size = items ? items->size() : 0;
  stored_count = static_cast<int16_t>(size);
  if (!count) return true;
  int64_t value = 0;
  std::string why;
  if (size > 0 || !IntegerFromJson(*count, -32768, 0, value, why)) {
    FailAt(FieldPath(count_key, -1), "only an empty list keeps a stored count, from -32768 to 0");
    return false;
  }
  stored_count = static_cast<int16_t>(value);
  return true;
}

bool JsonReadVisitor::Enter(const Json& value, const std::string& path) {
  if (!ok()) return false;
  if (!value.is_object()) {
    FailAt(path, "expected an object");
    return false;
  }
  if (static_cast<int>(frames_.size()) > kMaxDepth) {
    FailAt(path, "records nested deeper than " + std::to_string(kMaxDepth) + " levels");
    return false;
  }
  frames_.push_back(Frame{&value, path, {}});
  return true;
}

void JsonReadVisitor::Leave() {
  if (ok()) CheckKeys(frames_.back());
  frames_.pop_back();
}

void JsonReadVisitor::CheckKeys(const Frame& frame) {
  for (auto it = frame.object->begin(); it != frame.object->end() && ok(); ++it) {
    const std::string& key = it.key();
    if (key.starts_with("_")) continue;  // a comment
    const std::string path = frame.path.empty() ? key : frame.path + "." + key;
    auto use = frame.uses.find(key);
    if (use == frame.uses.end()) {
      FailAt(path, "unexpected key (this record does not have it here)");
    } else if (!use->second.whole && it->is_array() &&
               static_cast<size_t>(use->second.visits) < it->size()) {
      FailAt(path, "has " + std::to_string(it->size()) + " values but only " +
                       std::to_string(use->second.visits) + " are used");
    }
  }
}

void JsonReadVisitor::Integer(const char* key, int64_t low, int64_t high, int64_t& value,
                              bool& found) {
  found = false;
  const Json* j = Take(key, true);
  if (!j) return;
  std::string why;
  if (!IntegerFromJson(*j, low, high, value, why)) return FailAt(taken_path_, "expected " + why);
  found = true;
}

void JsonReadVisitor::Flag(const char* key, cva::Flag& f) {
  const Json* j = Take(key, true);
  std::string why;
  if (j && !FlagFromJson(*j, f, why)) FailAt(taken_path_, "expected " + why);
}

void JsonReadVisitor::Byte(const char* key, uint8_t& v) {
  int64_t value = 0;
  bool found = false;
  Integer(key, 0, 255, value, found);
  if (found) v = static_cast<uint8_t>(value);
}

void JsonReadVisitor::Short(const char* key, int16_t& v) {
  int64_t value = 0;
  bool found = false;
  Integer(key, -32768, 32767, value, found);
  if (found) v = static_cast<int16_t>(value);
}

void JsonReadVisitor::Int(const char* key, int32_t& v) {
  int64_t value = 0;
  bool found = false;
  Integer(key, INT32_MIN, INT32_MAX, value, found);
  if (found) v = static_cast<int32_t>(value);
}

void JsonReadVisitor::Float(const char* key, float& v) {
  const Json* j = Take(key, true);
  std::string why;
  if (j && !FloatFromJson(*j, v, why)) FailAt(taken_path_, "expected " + why);
}

void JsonReadVisitor::Text(const char* key, StoredText& t) {
  const Json* j = Take(key, true);
  std::string why;
  if (j && !TextFromJson(*j, t, why)) FailAt(taken_path_, "expected " + why);
}

void JsonReadVisitor::Rest(const char* key, std::vector<uint8_t>& bytes) {
  bytes.clear();
  if (!ok()) return;
  const Json* j = TakeWhole(key);
  if (!j) return;
  std::string why = "a string of hex digits";
  if (!j->is_string() || !FromHex(j->get_ref<const std::string&>(), bytes, why))
    FailAt(FieldPath(key, -1), "expected " + why);
}

}  // namespace cva::json
