#include "json_write_visitor.h"

namespace cva::json {

void JsonWriteVisitor::Put(const std::string& key, Json value) {
  Frame& frame = frames_.back();
  auto it = frame.value.find(key);
  if (it == frame.value.end()) {
    frame.value[key] = std::move(value);
    return;
  }
  if (frame.repeated.insert(key).second) {
    // Values visited once are never arrays, except lists, which a record visits only once.
    if (it->is_array()) return Fail("the list '" + key + "' is visited twice in one record");
    Json first = std::move(*it);
    *it = Json::array({std::move(first)});
  }
  it->push_back(std::move(value));
}

void JsonWriteVisitor::PutOnce(const std::string& key, Json value) {
  Frame& frame = frames_.back();
  if (frame.value.contains(key)) return Fail("the key '" + key + "' is used twice in one record");
  frame.value[key] = std::move(value);
}

}  // namespace cva::json
