#pragma once

#include <cstdint>
#include <vector>

#include "document/document_header.h"
#include "document/label_name_table.h"
#include "document/property_list.h"
#include "document/resource_record.h"
#include "document/variable.h"
#include "scene/node_record.h"
#include "scene/object_record.h"
#include "stream/record_fields.h"

namespace cva {

// A whole ".cva" document as stored, section by section in file order. Reading and writing
// it back gives the same bytes. A file with another magic or version is not read further:
// everything after the value that did not match is kept as trailing bytes, and the document
// built from it is empty.
struct DocumentFile {
  static constexpr int32_t kMagic = 0x00617663;  // "cva" and a zero byte
  static constexpr int32_t kVersion = 20090130;

  int32_t magic = kMagic;
  int32_t version = kVersion;
  CountedList<VariableRecord> variables;
  DocumentHeader header;
  CountedList<PropertyListEntry> properties;  // present only when header.property_list is set
  CountedList<ResourceRecord> resources;
  CountedList<ObjectEntry> objects;
  CountedList<LabelNameRecord> label_names;
  NodeRecord root;
  std::vector<uint8_t> trailing;

  bool recognised() const { return magic == kMagic && version == kVersion; }

  template <class V>
  void Visit(V& v) {
    v.Int("magic", magic);
    if (magic != kMagic) return v.Rest("trailing", trailing);
    v.Int("version", version);
    if (version != kVersion) return v.Rest("trailing", trailing);
    v.List("variables", variables);
    v.Record("header", header);
    v.context().node_names = header.node_names.on();
    if (header.property_list.on()) v.List("properties", properties);
    v.List("resources", resources);
    v.List("objects", objects);
    v.List("label_names", label_names);
    v.Record("root", root);
    v.Rest("trailing", trailing);
  }
};

}  // namespace cva
