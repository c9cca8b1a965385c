#pragma once

// The stored record of a mesh object (type 8): texture, colour, a tree of joint object ids,
// a byte grid, vertices and 16-bit indices. Vertex and index numbers are stored with widths
// chosen by codes stored before them (see VisitWidthCoded).

#include <cstdint>
#include <string>
#include <vector>

#include "render/colour.h"
#include "scene/objects/record_helpers.h"
#include "stream/record_fields.h"

namespace cva {

// One node of the joint tree: an object id and its child nodes, depth first. Nesting is
// bounded by the reading visitor.
struct JointNodeRecord {
  int32_t object = 0;
  CountedList<JointNodeRecord> children;

  template <class V>
  void Visit(V& v) {
    v.Int("object", object);
    v.List("children", children);
  }
};

// One vertex as stored: x, y and a third number.
struct MeshVertexRecord {
  int32_t x = 0;
  int32_t y = 0;
  int32_t third = 0;
};

struct MeshRecord {
  int16_t id = -1;
  int16_t texture = -1;  // resource id
  Colour colour;
  JointNodeRecord joints;
  // Grid: `rows` rows of `columns` bytes; the column count is stored only when rows > 0.
  int16_t rows = 0;
  int16_t columns = 0;
  std::vector<uint8_t> cells;
  // Vertices: stored only when the count is positive, after a header.
  CountedList<MeshVertexRecord> vertices;
  int16_t unused_a = 0;
  int16_t unused_b = 0;
  int16_t width = 0;  // texture coordinates are x / (width - 1), y / (height - 1)
  int16_t height = 0;
  uint8_t x_code = 0;
  uint8_t y_code = 0;
  uint8_t third_code = 0;
  // Indices: stored only when the count is positive; the numbers follow only when the
  // flag is 0.
  int16_t index_count = 0;
  uint8_t index_code = 0;
  uint8_t index_flag = 0;
  std::vector<uint16_t> indices;

  template <class V>
  void Visit(V& v) {
    v.Short("id", id);
    v.Short("texture", texture);
    VisitColour(v, "colour", colour);
    v.Record("joints", joints);
    VisitGrid(v);
    VisitVertices(v);
    VisitIndices(v);
  }

 private:
  template <class V>
  void VisitGrid(V& v) {
    v.Short("rows", rows);
    if constexpr (V::kReading) cells.clear();
    if (rows <= 0) return;
    v.Short("columns", columns);
    if (columns <= 0) return;
    const int32_t count = static_cast<int32_t>(rows) * columns;
    if constexpr (V::kReading) {
      for (int32_t i = 0; i < count && v.ok(); ++i) {
        uint8_t cell = 0;
        v.Byte("cells", cell);
        cells.push_back(cell);
      }
    } else {
      for (int32_t i = 0; i < count; ++i) {
        uint8_t cell = i < static_cast<int32_t>(cells.size()) ? cells[i] : 0;
        v.Byte("cells", cell);
      }
    }
  }

  template <class V>
  void VisitVertices(V& v) {
    const int16_t count = VisitListCount(v, "vertex_count", vertices);
    if (count <= 0) return;
    v.Short("unused_a", unused_a);
    v.Short("unused_b", unused_b);
    v.Short("width", width);
    v.Short("height", height);
    v.Byte("x_code", x_code);
    v.Byte("y_code", y_code);
    v.Byte("third_code", third_code);
    if constexpr (V::kReading) {
      for (int i = 0; i < count && v.ok(); ++i) {
        vertices.items.emplace_back();
        VisitVertex(v, vertices.items.back());
      }
    } else {
      for (MeshVertexRecord& vertex : vertices.items) VisitVertex(v, vertex);
    }
  }

  template <class V>
  void VisitVertex(V& v, MeshVertexRecord& vertex) {
    VisitWidthCoded(v, "vertex_x", x_code, vertex.x);
    VisitWidthCoded(v, "vertex_y", y_code, vertex.y);
    VisitWidthCoded(v, "vertex_third", third_code, vertex.third);
  }

  template <class V>
  void VisitIndices(V& v) {
    v.Short("index_count", index_count);
    if constexpr (V::kReading) indices.clear();
    if (index_count <= 0) return;
    v.Byte("index_code", index_code);
    v.Byte("index_flag", index_flag);
    if (index_flag != 0) return;
    for (int i = 0; i < index_count && v.ok(); ++i) {
      int32_t number = 0;
      if constexpr (!V::kReading) number = i < static_cast<int>(indices.size()) ? indices[i] : 0;
      VisitWidthCoded(v, "index", index_code, number);
      if constexpr (V::kReading) indices.push_back(static_cast<uint16_t>(number));
    }
  }
};

}  // namespace cva
