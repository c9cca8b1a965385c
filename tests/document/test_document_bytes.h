#pragma once

// Builds document files byte by byte for tests, independently of the records under test.

#include <cstdint>
#include <string>
#include <vector>

#include "stream/byte_writer.h"

namespace cva::testing {

inline void WriteNarrowText(ByteWriter& out, const std::string& text) {
  out.Short(static_cast<int16_t>(text.size()));
  if (text.empty()) return;
  out.Byte(1);  // Shift-JIS
  for (char c : text) out.Byte(static_cast<uint8_t>(c));
}

struct TestResource {
  int16_t id = 0;
  bool load = true;
  uint8_t kind = 0;
  std::string name;
};

struct TestLabel {
  int16_t id = 0;
  std::string name;
};

struct TestDocument {
  int32_t magic = 0x00617663;
  int32_t version = 20090130;
  std::vector<uint8_t> variables = {0, 0};  // the whole section, count included
  bool property_list = true;
  bool node_names = false;
  std::vector<TestResource> resources;
  std::vector<uint8_t> objects = {0, 0};  // the whole section, count included
  std::vector<TestLabel> labels;
  bool with_root = true;
  int16_t root_object = -1;
  std::vector<uint8_t> trailing;

  std::vector<uint8_t> Bytes() const {
    ByteWriter out;
    out.Int(magic);
    out.Int(version);
    out.Bytes(variables);
    // Header: background colour, stage size, value A, frame duration, mode byte, flags, C, D.
    for (int b : {10, 20, 30, 40}) out.Byte(static_cast<uint8_t>(b));
    out.Float(320.0f);
    out.Float(240.0f);
    out.Int(200);
    out.Float(50.0f);
    out.Byte(2);
    out.Byte(1);
    out.Byte(0);
    out.Byte(node_names ? 1 : 0);
    out.Byte(property_list ? 1 : 0);
    out.Byte(0);
    out.Byte(0);
    out.Byte(1);
    if (property_list) out.Short(0);
    out.Short(static_cast<int16_t>(resources.size()));
    for (const TestResource& r : resources) {
      out.Short(r.id);
      out.Byte(r.load ? 1 : 0);
      out.Byte(r.kind);
      if (r.kind == 0) {
        out.Short(0);
        out.Short(0);
      }
      WriteNarrowText(out, r.name);
    }
    out.Bytes(objects);
    out.Short(static_cast<int16_t>(labels.size()));
    for (const TestLabel& l : labels) {
      out.Short(l.id);
      WriteNarrowText(out, l.name);
    }
    if (with_root) WriteTrivialRoot(out, node_names, root_object);
    out.Bytes(trailing);
    return out.Take();
  }

  // A root node without controller, labels or children.
  static void WriteTrivialRoot(ByteWriter& out, bool node_names, int16_t object = -1) {
    out.Short(0);  // id
    if (node_names) WriteNarrowText(out, "root");
    out.Short(object);
    out.Byte(0);   // active
    out.Byte(0);   // no controller
    out.Short(0);  // no labels
    out.Short(0);  // no children
  }
};

}  // namespace cva::testing
