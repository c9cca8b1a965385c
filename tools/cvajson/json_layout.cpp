#include "json_layout.h"

namespace cva::json {
namespace {

constexpr size_t kWidth = 100;

bool AllPlain(const Json& j) {
  for (const Json& item : j)
    if (item.is_structured() && !item.empty()) return false;
  return true;
}

std::string Plain(const Json& j) {
  if (j.is_array() && j.empty()) return "[]";
  if (j.is_object() && j.empty()) return "{}";
  return j.dump();
}

// The one-line form of a container of plain values.
std::string OneLine(const Json& j) {
  std::string out(j.is_array() ? "[" : "{");
  bool first = true;
  for (auto it = j.begin(); it != j.end(); ++it) {
    if (!first) out += ", ";
    first = false;
    if (j.is_object()) out += Json(it.key()).dump() + ": ";
    out += Plain(*it);
  }
  out += j.is_array() ? "]" : "}";
  return out;
}

void Write(const Json& j, size_t indent, size_t used, std::string& out) {
  if (!j.is_structured() || j.empty()) {
    out += Plain(j);
    return;
  }
  const std::string inner(indent + 2, ' ');
  if (AllPlain(j)) {
    const std::string line = OneLine(j);
    if (used + line.size() <= kWidth) {
      out += line;
      return;
    }
    if (j.is_array()) {  // several values to a line
      out += "[\n" + inner;
      size_t column = inner.size();
      bool first = true;
      for (const Json& item : j) {
        const std::string text = Plain(item);
        if (!first) {
          if (column + 2 + text.size() > kWidth) {
            out += ",\n" + inner;
            column = inner.size();
          } else {
            out += ", ";
            column += 2;
          }
        }
        first = false;
        out += text;
        column += text.size();
      }
      out += "\n" + std::string(indent, ' ') + "]";
      return;
    }
  }
  out += j.is_array() ? "[\n" : "{\n";
  bool first = true;
  for (auto it = j.begin(); it != j.end(); ++it) {
    if (!first) out += ",\n";
    first = false;
    out += inner;
    size_t column = inner.size();
    if (j.is_object()) {
      const std::string key = Json(it.key()).dump() + ": ";
      out += key;
      column += key.size();
    }
    Write(*it, indent + 2, column, out);
  }
  out += "\n" + std::string(indent, ' ') + (j.is_array() ? "]" : "}");
}

}  // namespace

std::string LayOut(const Json& value) {
  std::string out;
  Write(value, 0, 0, out);
  out += '\n';
  return out;
}

}  // namespace cva::json
